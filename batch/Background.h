// The background colour --background chooses for a picture, and the sign it was forgotten.
#pragma once

#include "batch/Arguments.h"
#include "raster/TBitmap.h"

#include <optional>
#include <string>

// The colour the choice gives for this picture; a pixel outside it raises BatchFailure.
TColor BackgroundFor(const BackgroundChoice& choice, const TBitmap& picture);

// A warning line when the background colour is on none of the picture's border pixels, which
// makes the whole picture the fish: the usual sign of a forgotten --background.
std::optional<std::string> BackgroundNotOnBorder(const TBitmap& picture, TColor background,
                                                 const std::string& input);
