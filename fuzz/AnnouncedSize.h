// The picture size a BMP file's header announces, read before the reader runs, so that the
// fuzz targets can pass over inputs whose pixels alone would cost more than the search gains.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace fuzz_support {

// Whether the header asks for more than `maxSide` pixels a side or `maxPixels` in all (a negative
// height counts as its size); false when the header is too short to tell, the reader then
// deciding.
inline bool AnnouncesMoreThan(const std::uint8_t* bmp, std::size_t size, std::int64_t maxSide,
                              std::int64_t maxPixels) {
    if (size < 26) {
        return false;
    }
    std::uint32_t headerSize;
    std::memcpy(&headerSize, bmp + 14, 4);
    std::int64_t width;
    std::int64_t height;
    if (headerSize == 12) {
        std::uint16_t w; // the core header's sizes are unsigned
        std::uint16_t h;
        std::memcpy(&w, bmp + 18, 2);
        std::memcpy(&h, bmp + 20, 2);
        width = w;
        height = h;
    } else {
        std::int32_t w;
        std::int32_t h;
        std::memcpy(&w, bmp + 18, 4);
        std::memcpy(&h, bmp + 22, 4);
        width = w;
        height = h;
    }
    width = width < 0 ? -width : width;
    height = height < 0 ? -height : height;
    return width > maxSide || height > maxSide || width * height > maxPixels;
}

} // namespace fuzz_support
