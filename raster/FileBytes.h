// Reading the start of a file, or all of it, for the picture readers.
#pragma once

#include "raster/Errors.h"
#include "raster/PixelStore.h"

#include <cstdint>
#include <string>

// The first `limit` bytes of a file (no more than it holds), its whole size in `fileSize`; raises
// EFOpenError when it cannot be opened (EISDIR for a folder) and EOutOfResources when the bytes
// cannot be held.
ByteStore ReadFileStart(const std::string& path, std::uint64_t limit, std::uint64_t* fileSize);

// A picture decoded from the first `limit` bytes of a file by `decode(data, size)`; an error of
// the decoder names the file.
template <class Decode>
auto DecodeFileStart(const std::string& path, std::uint64_t limit, Decode decode) {
    std::uint64_t fileSize = 0;
    const ByteStore bytes = ReadFileStart(path, limit, &fileSize);
    try {
        return decode(bytes.data(), bytes.size());
    } catch (EVelmoraError& error) {
        error.SetFile(path);
        throw;
    }
}
