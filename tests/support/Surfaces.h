// Surfaces the tests build (areas of one colour, random pictures) and their pixel comparison.
#pragma once

#include "raster/TBitmap.h"

#include <random>
#include <string>
#include <vector>

namespace test_support {

// Paints `rect` of `bitmap` in `colour`; the brush keeps that colour.
void Fill(TBitmap& bitmap, const TRect& rect, TColor colour);

// Every pixel drawn from a small palette, so equal colours (and the background) recur often.
TBitmap RandomPicture(std::mt19937& random, int width, int height,
                      const std::vector<TColor>& palette);

// Every pixel any colour.
TBitmap RandomColours(std::mt19937& random, int width, int height);

// The first pixel where two surfaces differ, as "(x, y): actual vs expected" in hexadecimal, or
// the two sizes when they differ; "" when they hold the same pixels.
std::string FirstDifference(const TBitmap& actual, const TBitmap& expected);

} // namespace test_support
