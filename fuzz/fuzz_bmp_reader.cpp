// Fuzz target: arbitrary bytes through the BMP reader, every pixel read, the result re-encoded.
#include "fuzz/AnnouncedSize.h"
#include "raster/Bmp.h"
#include "raster/Errors.h"

#include <cstdint>
#include <cstdlib>

namespace {

// A few bytes can ask for a picture of 2^28 pixels, which the reader rightly makes: filling it
// alone takes longer than thousands of small inputs, and the search starves. Inputs announcing
// more than this are passed over before decoding; the reader's size limits and its refusals of
// files that announce pixels they do not hold are its unit tests' work.
constexpr std::int64_t kMaxPixels = std::int64_t{1} << 16;
constexpr std::int64_t kMaxSide = 4096;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (fuzz_support::AnnouncesMoreThan(data, size, kMaxSide, kMaxPixels)) {
        return 0;
    }
    try {
        TBitmap bitmap = DecodeBmp(data, size);
        for (int y = 0; y < bitmap.Height(); ++y) {
            for (int x = 0; x < bitmap.Width(); ++x) {
                if (bitmap.Pixel(x, y) > 0xFFFFFF) {
                    std::abort(); // a stored pixel never carries flag bits
                }
            }
        }
        const ByteStore encoded = EncodeBmp(bitmap);
        TBitmap again = DecodeBmp(encoded.data(), encoded.size());
        if (again.Width() != bitmap.Width() || again.Height() != bitmap.Height()) {
            std::abort(); // what the writer writes, the reader reads back at the same size
        }
    } catch (const EVelmoraError&) {
        // Refusing a file with the system's message is the expected outcome for most inputs.
    }
    return 0;
}
