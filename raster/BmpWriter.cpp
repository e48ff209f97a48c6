// The BMP writer: the exact bytes of 24-bit and 1-bit files, saved through the platform's
// replacement of a whole file.
#include "raster/Bmp.h"
#include "raster/Platform.h"
#include "raster/RowConversions.h"

#include <cstring>
#include <utility>

namespace {

void Put16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

} // namespace

ByteStore EncodeBmp(const TBitmap& bitmap) {
    if (bitmap.Empty()) {
        return {};
    }
    const int width = bitmap.Width();
    const int height = bitmap.Height();
    const bool mono = bitmap.Monochrome();
    const std::uint32_t bits = mono ? 1 : 24;
    const std::uint32_t tableBytes = mono ? 8 : 0;
    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    const std::uint64_t pixelBytes = rowBytes * height;
    const std::uint32_t offBits = 14 + 40 + tableBytes;

    // Left unset and written byte for byte below, headers and padding included: clearing a large
    // file first would cost a pass over its memory of its own.
    ByteStore out(offBits + pixelBytes);
    std::uint8_t* p = out.data();
    std::memset(p, 0, offBits);
    p[0] = 'B';
    p[1] = 'M';
    Put32(p + 2, static_cast<std::uint32_t>(out.size()));
    Put32(p + 10, offBits);
    Put32(p + 14, 40);
    Put32(p + 18, static_cast<std::uint32_t>(width));
    Put32(p + 22, static_cast<std::uint32_t>(height));
    Put16(p + 26, 1);
    Put16(p + 28, bits);
    Put32(p + 34, static_cast<std::uint32_t>(pixelBytes));
    Put32(p + 46, mono ? 2 : 0);
    if (mono) {
        // Entry 0 black (already zero), entry 1 white.
        p[58] = p[59] = p[60] = 255;
    }
    const RowConversions& convert = RowConverter();
    const std::uint64_t usedBytes = (static_cast<std::uint64_t>(width) * bits + 7) / 8;
    for (int y = 0; y < height; ++y) {
        const std::uint32_t* row = bitmap.Row(y);
        std::uint8_t* target = p + offBits + rowBytes * static_cast<std::uint64_t>(height - 1 - y);
        if (mono) {
            convert.ToIndex1(row, target, width);
        } else {
            convert.ToBgr(row, target, width);
        }
        std::memset(target + usedBytes, 0, rowBytes - usedBytes);
    }
    return out;
}

void WriteBmpFile(const TBitmap& bitmap, const std::string& path) {
    ByteStore bytes;
    platform::SaveFile(path, [&] {
        bytes = EncodeBmp(bitmap);
        return std::make_pair(static_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    });
}
