// The up and down sheets of a fish data sheet: the whole sheet turned both ways, cropped to
// the turned mask, and the names of their files.
#pragma once

#include "fish/SheetComposer.h"
#include "raster/Errors.h"
#include "raster/TBitmap.h"

#include <string>

inline constexpr const char* kNoBlackInMaskMessage =
    "ﾏｽｸﾊﾟﾀｰﾝに黒い点がないため上向き下向きﾃﾞｰﾀを作成できません";

// A turned mask without a single black pixel: the source is no fish data sheet (or is empty).
class ENoBlackInMask : public EVelmoraError {
  public:
    ENoBlackInMask() : EVelmoraError(kNoBlackInMaskMessage) {}
};

struct UpDownSheets {
    TBitmap Up;
    TBitmap Down;
};

// The box of the exactly black (0x000000) pixels of a turned mask.
inline FishBoundingBox MaskBox(const TBitmap& mask) {
    return ScanBox(mask, clBlack, BoxRule::Equals);
}

// Turns the mask quadrant, crops each direction to its own mask box and builds a sheet of twice
// that box for each: image, mask, shadow 1 and shadow 2 quadrants each cut from the quadrant
// turned that way. `upBitmap` and `downBitmap` are the working surfaces of RotateQuadrant and
// are left holding the copies of quadrant 3. Raises ENoBlackInMask when either turned mask has no
// black pixel; nothing else is then built.
UpDownSheets BuildUpDownSheets(const TBitmap& source, int angle, TBitmap& upBitmap,
                               TBitmap& downBitmap);

struct UpDownNames {
    std::string Up;
    std::string Down;
};

// The sheets live beside the source: its path with the file name's extension (if any) removed,
// plus "u.bmp" and "d.bmp". Folders are never changed.
UpDownNames UpDownFileNames(const std::string& sourcePath);
