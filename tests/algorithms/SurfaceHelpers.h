// Small surface builders and comparisons shared by the algorithm tests.
#pragma once

#include "raster/TBitmap.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace testing_surfaces {

inline TBitmap Filled(int width, int height, TColor colour) {
    TBitmap bitmap;
    bitmap.Canvas().Brush.Color = colour;
    bitmap.SetSize(width, height);
    bitmap.Canvas().Brush.Color = clWhite;
    return bitmap;
}

// Every pixel drawn from a small palette, so equal colours (and the background) recur often.
inline TBitmap RandomPicture(std::mt19937& random, int width, int height,
                             const std::vector<TColor>& palette) {
    TBitmap bitmap(width, height);
    std::uniform_int_distribution<std::size_t> pick(0, palette.size() - 1);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bitmap.SetPixel(x, y, palette[pick(random)]);
        }
    }
    return bitmap;
}

inline TBitmap RandomColours(std::mt19937& random, int width, int height) {
    TBitmap bitmap(width, height);
    std::uniform_int_distribution<std::uint32_t> colour(0, 0xFFFFFF);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bitmap.SetPixel(x, y, colour(random));
        }
    }
    return bitmap;
}

// The first pixel where two surfaces differ, or "" when they hold the same pixels.
inline std::string FirstDifference(const TBitmap& a, const TBitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) {
        return "sizes " + std::to_string(a.Width()) + "x" + std::to_string(a.Height()) + " and " +
               std::to_string(b.Width()) + "x" + std::to_string(b.Height());
    }
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width(); ++x) {
            if (a.Pixel(x, y) != b.Pixel(x, y)) {
                return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ")";
            }
        }
    }
    return "";
}

} // namespace testing_surfaces
