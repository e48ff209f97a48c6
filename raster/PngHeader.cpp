// The PNG file's signature and header chunk checked before the decoder allocates anything; the
// file read whole for the decoder.
#include "raster/BmpFormat.h"
#include "raster/Errors.h"
#include "raster/FileBytes.h"
#include "raster/Png.h"

#include <algorithm>

namespace png {
namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Signature, then the header chunk: length, type, 13 bytes of fields (its CRC comes after).
constexpr std::size_t kHeaderEnd = 8 + 8 + 13;
// Deflate cannot shrink data more than this; a file smaller than its picture's bytes over this
// is cut short, however it was made.
constexpr std::uint64_t kBestDeflateRatio = 1032;

std::uint32_t U32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           std::uint32_t{p[3]};
}

// Channels of a colour type, 0 for a type the format does not define.
int Channels(int colourType, int depth) {
    switch (colourType) {
    case 0: // grey
        return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16 ? 1 : 0;
    case 3: // palette
        return depth == 1 || depth == 2 || depth == 4 || depth == 8 ? 1 : 0;
    case 2: // RGB
        return depth == 8 || depth == 16 ? 3 : 0;
    case 4: // grey and alpha
        return depth == 8 || depth == 16 ? 2 : 0;
    case 6: // RGBA
        return depth == 8 || depth == 16 ? 4 : 0;
    default:
        return 0;
    }
}

} // namespace

Header ParseHeader(const std::uint8_t* data, std::size_t size, std::uint64_t fileSize) {
    if (size < sizeof kSignature || !std::equal(kSignature, kSignature + 8, data)) {
        throw EDamagedPng("bad signature (not a PNG file)");
    }
    if (size < kHeaderEnd) {
        throw EDamagedPng("file is cut short inside the header");
    }
    if (U32(data + 8) != 13 || !std::equal(data + 12, data + 16, "IHDR")) {
        throw EDamagedPng("the header chunk is missing");
    }
    const std::uint8_t* fields = data + 16;
    const std::uint32_t width = U32(fields);
    const std::uint32_t height = U32(fields + 4);
    Header header;
    header.BitDepth = fields[8];
    header.ColourType = fields[9];
    const int channels = Channels(header.ColourType, header.BitDepth);
    if (width == 0 || height == 0 || width > 0x7FFFFFFFu || height > 0x7FFFFFFFu) {
        throw EDamagedPng("impossible picture size in the header");
    }
    if (channels == 0 || fields[10] != 0 || fields[11] != 0 || fields[12] > 1) {
        throw EDamagedPng("impossible colour type, bit depth or method in the header");
    }
    if (width > bmp::kMaxSide || height > bmp::kMaxSide ||
        std::int64_t{width} * height > kMaxSurfacePixels) {
        throw EInvalidGraphic(BmpFlaw::SizeOutOfRange);
    }
    const std::uint64_t rowBytes = (std::uint64_t{width} * channels * header.BitDepth + 7) / 8;
    if (fileSize * kBestDeflateRatio < rowBytes * height) {
        throw EDamagedPng("file is cut short: too small for the picture it announces");
    }
    header.Width = static_cast<int>(width);
    header.Height = static_cast<int>(height);
    header.Interlaced = fields[12] == 1;
    return header;
}

} // namespace png

namespace {
// A PNG of the largest picture at 16 bits a channel with no compression at all, and a margin.
constexpr std::uint64_t kMaxUsefulPngBytes = (std::uint64_t{1} << 31) + (std::uint64_t{16} << 20);
} // namespace

LoadedPicture ReadPngFile(const std::string& path) {
    return DecodeFileStart(path, kMaxUsefulPngBytes, DecodePng);
}

std::optional<BmpFileSize> PeekPngFile(const std::string& path) {
    try {
        std::uint64_t fileSize = 0;
        const ByteStore start = ReadFileStart(path, 64, &fileSize);
        const png::Header header = png::ParseHeader(start.data(), start.size(), fileSize);
        return BmpFileSize{header.Width, header.Height, fileSize};
    } catch (const EVelmoraError&) {
        return std::nullopt;
    }
}
