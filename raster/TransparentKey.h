// Transparent pixels of a picture turned into one key colour that no opaque pixel has.
#pragma once

#include "raster/TColor.h"

#include <cstddef>
#include <cstdint>
#include <optional>

// The colour transparent pixels take when no opaque pixel has it.
inline constexpr TColor kTransparentKey = 0xFF00FF; // magenta

// Turns decoded pixels 0xAABBGGRR (alpha in the top byte) into colours 0x00BBGGRR in place: a
// pixel with alpha 128 or more keeps its colour, one below 128 is background and takes the key
// colour. The key is magenta, or when an opaque pixel has magenta the first colour of a fixed
// order (green, cyan, yellow, blue, red, then every colour from black upwards) that no opaque
// pixel has; magenta again in the one case of a picture whose opaque pixels use every colour.
// Gives the key, or nothing when no pixel is transparent.
std::optional<TColor> KeyTransparentPixels(std::uint32_t* pixels, std::size_t count);
