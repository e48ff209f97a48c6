// Fuzz target: arbitrary bytes through the BMP reader, every pixel read, the result re-encoded.
#include "raster/Bmp.h"
#include "raster/Errors.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        TBitmap bitmap = DecodeBmp(data, size);
        std::uint32_t sum = 0;
        for (int y = 0; y < bitmap.Height(); ++y) {
            for (int x = 0; x < bitmap.Width(); ++x) {
                TColor c = bitmap.Pixel(x, y);
                if (c > 0xFFFFFF) {
                    std::abort(); // a stored pixel never carries flag bits
                }
                sum += c;
            }
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
