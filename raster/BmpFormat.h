// The BMP file's header layout as the reader understands it, after validation.
#pragma once

#include <cstddef>
#include <cstdint>

namespace bmp {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kCoreHeaderSize = 12;

// Largest picture side the reader accepts (the pixel count is bounded by kMaxSurfacePixels);
// anything larger is refused before a single pixel is allocated.
constexpr std::int64_t kMaxSide = 65535;

// An uncompressed picture of more pixels than this must hold at least one byte in
// kLeastHeldFraction of the pixel data it announces: a few bytes announcing a huge picture are a
// request for memory, not a picture cut short. Run-length data may rightly be that small.
constexpr std::int64_t kLargePicturePixels = std::int64_t{1} << 24;
constexpr std::uint64_t kLeastHeldFraction = 1000;

enum Compression : std::uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3 };

// Everything the pixel decoders need, checked: the sizes fit, the depth and compression agree.
struct Layout {
    int Width = 0;
    int Height = 0; // always positive here
    bool TopDown = false;
    int BitCount = 0;
    std::uint32_t CompressionKind = kRgb;
    std::uint32_t Masks[3] = {0, 0, 0}; // red, green, blue for bit fields
    std::size_t PaletteOffset = 0;      // where the colour table starts in the file
    std::size_t PaletteEntries = 0;
    std::size_t PaletteEntrySize = 4; // 3 for the core header
    std::size_t PixelOffset = 0;      // right after the colour table
    std::uint64_t PixelBytes = 0;     // biSizeImage, or row size x height
    std::int64_t RowBytes = 0;        // uncompressed row size, padded to 4 bytes
};

// Reads and validates the headers from the first `size` bytes of a file of `fileSize` bytes;
// raises EInvalidGraphic or EReadError with the system's messages. An empty picture (width or
// height 0) gives a layout with Width or Height 0.
Layout ParseHeaders(const std::uint8_t* data, std::size_t size, std::uint64_t fileSize);
inline Layout ParseHeaders(const std::uint8_t* data, std::size_t size) {
    return ParseHeaders(data, size, size);
}

} // namespace bmp
