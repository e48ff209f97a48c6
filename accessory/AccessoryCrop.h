// Accessory data: the picture cropped to the decoration, its one-bit mask, and their files.
#pragma once

#include "raster/Errors.h"
#include "raster/TBitmap.h"
#include "raster/TColor.h"

#include <string>

inline constexpr const char* kNoAccessoryPixelMessage =
    "背景色以外の点がないためｱｸｾｻﾘﾃﾞｰﾀを作成できません";

// A picture holding no pixel other than the background colour (an empty picture included).
class ENoAccessoryPixel : public EVelmoraError {
  public:
    ENoAccessoryPixel() : EVelmoraError(kNoAccessoryPixelMessage) {}
};

struct AccessoryData {
    TBitmap Picture; // colour: the decoration on black
    TBitmap Mask;    // one bit: black on the decoration, white on the background
};

// Crops the picture to the box of its non-background pixels (`background` as a pixel read
// returns it). Raises ENoAccessoryPixel when there is none.
AccessoryData CropAccessory(const TBitmap& picture, TColor background);

struct AccessoryNames {
    std::string Picture;
    std::string Mask;
};

// The files for a chosen name: the file name (never the folders) lower-cased in ASCII, a final
// ".png" turned into ".bmp"; the mask is that name without a final ".bmp", plus "m.bmp".
AccessoryNames AccessoryFileNames(const std::string& chosenName);

// Writes the mask file first, then the picture file.
void WriteAccessoryFiles(const AccessoryData& data, const AccessoryNames& names);

// The whole save: crop (raising before anything is written), name, write.
void SaveAccessory(const TBitmap& picture, TColor background, const std::string& chosenName);
