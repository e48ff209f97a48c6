// Whole files for the tests: reading and writing them, where two byte strings first differ, and
// a folder's every file with its bytes.
#pragma once

#include "raster/PixelStore.h"
#include "raster/TBitmap.h"

#include <filesystem>
#include <map>
#include <string>

namespace test_support {

// The whole file; empty when there is none or it cannot be read.
ByteStore FileBytes(const std::filesystem::path& path);
std::string FileText(const std::filesystem::path& path);

void WriteText(const std::filesystem::path& path, const std::string& bytes);

// The BMP file the writer makes of `bitmap`, as a string of bytes.
std::string BmpBytesOf(const TBitmap& bitmap);

// Where `actual` first differs from `expected`, as "byte N: 0xAA vs 0xBB" (with both sizes when
// they differ), or "" when they are the same.
std::string FirstDifferingByte(const ByteStore& actual, const ByteStore& expected);

// "" when both files can be read and hold the same bytes; else which cannot be read or where
// they first differ. Two missing files are not the same.
std::string FileDifference(const std::string& actual, const std::string& expected);

bool Exists(const std::string& path);

// Every file under `folder` with its bytes; folders appear as "<folder>".
std::map<std::string, std::string> FolderSnapshot(const std::filesystem::path& folder);

// Whether the file system of `folder` takes two spellings of a name that differ only in capitals
// for one file (Windows and macOS do by default, Linux does not).
bool IgnoresCase(const std::filesystem::path& folder);

} // namespace test_support
