// Surfaces the tests build and their pixel comparison.
#include "tests/support/Surfaces.h"

#include <cstdint>
#include <sstream>

namespace test_support {

void Fill(TBitmap& bitmap, const TRect& rect, TColor colour) {
    bitmap.Canvas().Brush.Color = colour;
    bitmap.Canvas().FillRect(rect);
}

TBitmap RandomPicture(std::mt19937& random, int width, int height,
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

TBitmap RandomColours(std::mt19937& random, int width, int height) {
    TBitmap bitmap(width, height);
    std::uniform_int_distribution<std::uint32_t> colour(0, 0xFFFFFF);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bitmap.SetPixel(x, y, colour(random));
        }
    }
    return bitmap;
}

std::string FirstDifference(const TBitmap& actual, const TBitmap& expected) {
    std::ostringstream out;
    if (actual.Width() != expected.Width() || actual.Height() != expected.Height()) {
        out << "size " << actual.Width() << "x" << actual.Height() << " vs " << expected.Width()
            << "x" << expected.Height();
        return out.str();
    }
    for (int y = 0; y < actual.Height(); ++y) {
        for (int x = 0; x < actual.Width(); ++x) {
            if (actual.Pixel(x, y) != expected.Pixel(x, y)) {
                out << "(" << x << ", " << y << "): " << std::hex << actual.Pixel(x, y) << " vs "
                    << expected.Pixel(x, y);
                return out.str();
            }
        }
    }
    return "";
}

} // namespace test_support
