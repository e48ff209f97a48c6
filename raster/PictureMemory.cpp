// Each command's surfaces, counted in surfaces of the picture's size, against available memory.
#include "raster/PictureMemory.h"

#include "raster/PictureFile.h"

#include <algorithm>
#include <cmath>

namespace {

// Colour surfaces hold four bytes a pixel, one-bit surfaces too.
constexpr double kBytesPerPixel = 4;

// The rotation's square output for a sheet: the side is its quadrant's diagonal plus one.
double TurnedQuadrantBytes(int width, int height) {
    const double w2 = width / 2;
    const double h2 = height / 2;
    const double side = std::floor(std::sqrt(w2 * w2 + h2 * h2)) + 1;
    return kBytesPerPixel * side * side;
}

} // namespace

std::uint64_t MemoryNeeded(PictureUse use, int width, int height, std::uint64_t fileBytes) {
    const double surface = kBytesPerPixel * width * height;
    double bytes = 0;
    switch (use) {
    case PictureUse::FishWorkspace:
        // The shadow editor's picture, two views and two shadows, and the image controls' own
        // copies of those four once drawn on (9), and the four as they were while a command of
        // its history draws on them (4); the fish window's picture (1); the preview's sheet (at
        // most 4: twice the fish's box each way) and frames (2); a save's sheet (4) and its
        // encoded bytes (3). Then the undo history: at most its limit, and at most the four
        // surfaces a step. Pictures small enough to be zoomed need little at any factor.
        bytes = 27 * surface +
                std::min(static_cast<double>(kUndoHistoryBytes), kUndoHistorySteps * 4 * surface);
        break;
    case PictureUse::FishSheet:
        // The picture, two shadows, the sheet (4) and its encoded bytes (3).
        bytes = 10 * surface;
        break;
    case PictureUse::ShadowSheet:
        // The sheet, stretched onto surfaces the workspace already has.
        bytes = surface;
        break;
    case PictureUse::UpDownSheets:
        // The sheet; the two turned quadrants shown and the two being turned; each up and down
        // sheet at most four turned quadrants, and the encoded bytes of one (3).
        bytes = surface + 15 * TurnedQuadrantBytes(width, height);
        break;
    case PictureUse::AccessoryData:
        // The picture, the cropped picture and its mask, the encoded picture (3/4).
        bytes = 4 * surface;
        break;
    case PictureUse::PreviewFrames:
        // The sheet, the frames (half of it) and their encoded bytes.
        bytes = 2 * surface;
        break;
    case PictureUse::Conversion:
        // The picture, a colour copy of a one-bit one, the encoded bytes.
        bytes = 3 * surface;
        break;
    case PictureUse::Check:
        // The file and, for an accessory, its mask.
        bytes = 2 * surface;
        break;
    }
    // The file is held whole while it is decoded.
    return static_cast<std::uint64_t>(bytes) + fileBytes;
}

MemoryReservation ReserveMemoryFor(PictureUse use, const std::string& path) {
    const auto file = PeekPictureFile(path);
    if (!file) {
        return {};
    }
    return ReserveMemory(MemoryNeeded(use, file->Width, file->Height, file->FileBytes));
}

void RequireMemoryFor(PictureUse use, const std::string& path) {
    const MemoryReservation checked = ReserveMemoryFor(use, path);
}
