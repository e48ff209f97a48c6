// The BMP reader and writer: files in memory and on disk.
#pragma once

#include "raster/TBitmap.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Decodes a whole BMP file held in memory into a colour surface. An empty buffer gives an empty
// surface. Raises EInvalidGraphic or EReadError with the system's messages; validates every
// header field before anything is allocated.
TBitmap DecodeBmp(const std::uint8_t* data, std::size_t size);

// The exact bytes the writer puts in a file: 24 bits for colour surfaces, 1 bit with the
// two-entry colour table for monochrome ones, nothing for a surface without pixels.
ByteStore EncodeBmp(const TBitmap& bitmap);

// Reads a BMP file; raises EFOpenError when it cannot be opened, then as DecodeBmp.
TBitmap ReadBmpFile(const std::string& path);

// Writes a BMP file without ever destroying the file it replaces: a temporary file in the same
// folder is written, flushed and renamed over the target. Raises EFCreateError when the file
// cannot be created, EWriteError when writing fails; the old file is then left as it was.
void WriteBmpFile(const TBitmap& bitmap, const std::string& path);
