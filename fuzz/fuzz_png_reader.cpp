// Fuzz target: arbitrary bytes through the PNG reader, every pixel read, the key colour checked,
// the result written as BMP and read back.
#include "raster/Bmp.h"
#include "raster/Errors.h"
#include "raster/Png.h"

#include <cstdint>
#include <cstdlib>

namespace {

// A small input can still rightly hold a picture a thousand times its size; writing all of it
// out again would starve the search. Above this size the pixels are read, nothing is written.
constexpr std::int64_t kFullCheckPixels = std::int64_t{1} << 20;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const LoadedPicture picture = DecodePng(data, size);
        const TBitmap& bitmap = picture.Bitmap;
        if (bitmap.Empty() || (picture.TransparentKey && *picture.TransparentKey > 0xFFFFFF)) {
            std::abort(); // a decoded PNG always has pixels, and a key is a colour
        }
        bool keySeen = false;
        for (int y = 0; y < bitmap.Height(); ++y) {
            const std::uint32_t* row = bitmap.Row(y);
            for (int x = 0; x < bitmap.Width(); ++x) {
                if (row[x] > 0xFFFFFF) {
                    std::abort(); // no alpha or flag bits survive the decoding
                }
                keySeen |= picture.TransparentKey && row[x] == *picture.TransparentKey;
            }
        }
        if (picture.TransparentKey && !keySeen) {
            std::abort(); // a key is only chosen for pixels that take it
        }
        if (std::int64_t{bitmap.Width()} * bitmap.Height() <= kFullCheckPixels) {
            const ByteStore encoded = EncodeBmp(bitmap);
            const TBitmap again = DecodeBmp(encoded.data(), encoded.size());
            if (again.Width() != bitmap.Width() || again.Height() != bitmap.Height()) {
                std::abort();
            }
        }
    } catch (const EVelmoraError&) {
        // Refusing a damaged file with the system's message is the expected outcome.
    }
    return 0;
}
