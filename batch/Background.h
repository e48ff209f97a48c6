// The background colour --background chooses for a picture, and the sign it was forgotten.
#pragma once

#include "batch/Arguments.h"
#include "raster/Png.h"

#include <optional>
#include <string>

// The colour the choice gives for this picture; a pixel outside it raises BatchFailure. Without
// a choice: the colour the picture's transparent pixels took, else black.
TColor BackgroundFor(const BackgroundChoice& choice, const LoadedPicture& picture);

// A warning line when the background colour is on none of the picture's border pixels, which
// makes the whole picture the fish: the usual sign of a forgotten --background.
std::optional<std::string> BackgroundNotOnBorder(const TBitmap& picture, TColor background,
                                                 const std::string& input);
