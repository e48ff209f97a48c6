// The BMP reader and writer: files in memory and on disk.
#pragma once

#include "raster/TBitmap.h"

#include <cstddef>
#include <cstdint>
#include <optional>
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

// What a BMP file's headers announce, and the file's own size.
struct BmpFileSize {
    int Width = 0;
    int Height = 0;
    std::uint64_t FileBytes = 0;
    // Where the pixel data the headers announce ends: the row size times the height past the
    // pixels' offset, or the stated size of run-length data.
    std::uint64_t AnnouncedBytes = 0;
    // A file shorter than that still loads (its missing pixels 0), but may still be being written.
    bool Complete() const { return FileBytes >= AnnouncedBytes; }
};
// Reads only a BMP file's headers (with the same checks as ReadBmpFile), to size a picture
// before anything is made for it. Nothing when the file cannot be read as a picture at all:
// reading it then says why.
std::optional<BmpFileSize> PeekBmpFile(const std::string& path);

// Writes a BMP file without destroying the file it replaces: a temporary file in the same folder
// is written, flushed and renamed over the target, taking the old file's mode and, where this
// user may give them, its owner and group. Symbolic links are followed: the file at the end of
// the chain gets the picture and the links stay. Where the folder allows no temporary file or no
// rename but the file itself is writable, the file is rewritten in place in one pass, and only
// then can a failure midway leave part of it written. Raises EFCreateError when the file cannot
// be created, EWriteError when writing fails; a failed replace leaves the old file as it was.
void WriteBmpFile(const TBitmap& bitmap, const std::string& path);
