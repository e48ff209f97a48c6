// The PNG reader: files in memory and on disk, decoded into a colour surface whose transparent
// pixels take one key colour.
#pragma once

#include "raster/Bmp.h"
#include "raster/TBitmap.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// A picture read from a file, with the colour its transparent pixels were given.
struct LoadedPicture {
    TBitmap Bitmap;
    // Set when the file has pixels with alpha below 128: the colour they all took (see
    // KeyTransparentPixels). Never set for a BMP file.
    std::optional<TColor> TransparentKey;
};

namespace png {

// What the reader takes from a PNG file's header, after validation.
struct Header {
    int Width = 0;
    int Height = 0;
    int BitDepth = 0;
    int ColourType = 0;
    bool Interlaced = false;
};

// Reads and validates the signature and the header chunk of the first `size` bytes of a file of
// `fileSize` bytes, before anything is allocated: raises EDamagedPng for a file that cannot be
// a PNG picture (including one too short to hold the picture it announces at the best possible
// compression) and EInvalidGraphic (SizeOutOfRange) for sides or a pixel count beyond the
// limits the BMP reader keeps.
Header ParseHeader(const std::uint8_t* data, std::size_t size, std::uint64_t fileSize);

} // namespace png

// Decodes a whole PNG file held in memory: every colour type and bit depth, interlaced or not,
// tRNS transparency; 16-bit channels keep their high byte. Raises as png::ParseHeader, and
// EDamagedPng when the data is damaged (CRC error, cut short, zlib error): never a partial
// surface. A build without the PNG library raises EPngUnsupported.
LoadedPicture DecodePng(const std::uint8_t* data, std::size_t size);

// Reads a PNG file; raises EFOpenError when it cannot be opened, then as DecodePng.
LoadedPicture ReadPngFile(const std::string& path);

// Reads only a PNG file's header, to size a picture before anything is made for it. Nothing when
// the file cannot be read as a picture at all: reading it then says why.
std::optional<BmpFileSize> PeekPngFile(const std::string& path);
