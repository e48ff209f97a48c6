// Fuzz target: arbitrary bytes through the BMP reader, every pixel read, the result re-encoded.
#include "raster/Bmp.h"
#include "raster/Errors.h"

#include <cstdint>
#include <cstdlib>

namespace {

// A few bytes can ask for a picture of 2^28 pixels, which the reader rightly makes; reading all
// of those and writing them out again would take seconds an input and starve the search. Above
// this size only the first, middle and last rows are read and nothing is re-encoded.
constexpr std::int64_t kFullCheckPixels = std::int64_t{1} << 20;

std::uint32_t CheckRow(const TBitmap& bitmap, int y) {
    std::uint32_t sum = 0;
    for (int x = 0; x < bitmap.Width(); ++x) {
        const TColor c = bitmap.Pixel(x, y);
        if (c > 0xFFFFFF) {
            std::abort(); // a stored pixel never carries flag bits
        }
        sum += c;
    }
    return sum;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        TBitmap bitmap = DecodeBmp(data, size);
        const std::int64_t pixels = std::int64_t{bitmap.Width()} * bitmap.Height();
        std::uint32_t sum = 0;
        if (pixels > kFullCheckPixels) {
            for (int y : {0, bitmap.Height() / 2, bitmap.Height() - 1}) {
                sum += CheckRow(bitmap, y);
            }
            (void)sum;
            return 0;
        }
        for (int y = 0; y < bitmap.Height(); ++y) {
            sum += CheckRow(bitmap, y);
        }
        const ByteStore encoded = EncodeBmp(bitmap);
        TBitmap again = DecodeBmp(encoded.data(), encoded.size());
        if (again.Width() != bitmap.Width() || again.Height() != bitmap.Height()) {
            std::abort(); // what the writer writes, the reader reads back at the same size
        }
        (void)sum;
    } catch (const EVelmoraError&) {
        // Refusing a file with the system's message is the expected outcome for most inputs.
    }
    return 0;
}
