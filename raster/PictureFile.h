// Pictures read by the file name's extension: PNG for ".png", BMP for every other name; and the
// BMP names of outputs derived from a picture's name.
#pragma once

#include "raster/Png.h"

#include <optional>
#include <string>

// Whether the file name's extension is "png" in any letter case.
bool IsPngName(const std::string& path);

// Reads a PNG file when IsPngName, else a BMP file; raises as ReadPngFile or ReadBmpFile.
LoadedPicture ReadPictureFile(const std::string& path);

// The size a picture file announces, read as ReadPictureFile would read it; nothing when it
// cannot be read as a picture at all.
std::optional<BmpFileSize> PeekPictureFile(const std::string& path);

// The name of a BMP output derived from a picture's name: a ".png" extension (any letter case)
// becomes ".bmp", as everything this tool writes is BMP; any other name stays as it is.
std::string BmpOutputName(const std::string& path);
