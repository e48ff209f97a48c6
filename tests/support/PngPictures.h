// PNG files made by code through the PNG library's encoder, the surfaces they must read as, and
// the same files damaged in each way a reader meets.
#pragma once

#include "raster/TBitmap.h"

#include <cstdint>
#include <string>

namespace test_support {

// A kind of PNG: colour type (0 grey, 2 RGB, 3 palette, 4 grey and alpha, 6 RGBA), bit depth,
// Adam7 interlacing, and whether a tRNS chunk marks samples transparent (grey, RGB, palette).
struct PngKind {
    int ColourType = 6;
    int BitDepth = 8;
    bool Interlaced = false;
    bool KeyChunk = false;
};

// A pattern every kind stores exactly: the PNG file, and the surface the reader must give, its
// transparent pixels (alpha below 128) in `transparentAs`. Opaque pixels are never magenta;
// 16-bit samples carry a low byte that differs from their high byte.
struct PngPattern {
    std::string Bytes;
    TBitmap Expected;
    bool Transparent = false; // whether any pixel is transparent
};
PngPattern PatternPng(const PngKind& kind, int width, int height, TColor transparentAs);

// An RGBA PNG of `colours`: pixels of `transparent` get alpha 0 to 127 and another colour
// underneath, every other pixel alpha 128 to 255.
std::string TransparentPng(const TBitmap& colours, TColor transparent);

// The file with the CRC of the first chunk of `type` ("IHDR", "tRNS", "IDAT") broken.
std::string WithBrokenCrc(std::string png, const char* type);
// The file with bytes inside its first picture data chunk's compressed stream replaced, the
// chunk's CRC made right again: only the zlib stream is damaged.
std::string WithBrokenZlib(std::string png);
// The signature and a header chunk (right CRC) announcing an RGBA picture of this size, then
// `idatBytes` zero bytes of picture data and no end.
std::string PngHeaderOnly(std::uint32_t width, std::uint32_t height, std::size_t idatBytes = 0);

} // namespace test_support
