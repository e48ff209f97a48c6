// The fish data sheet composer: bounding-box scans, the zoom rule and the 2 x 2 sheet itself.
#pragma once

#include "raster/TBitmap.h"
#include "raster/TColor.h"

// An inclusive box of pixel coordinates found by a scan; every side is -1 while nothing was
// found. Width and height count the pixels from one side to the other, both included, so a box
// that was not found is 1 x 1.
struct FishBoundingBox {
    int Left = -1;
    int Top = -1;
    int Right = -1;
    int Bottom = -1;

    bool Found() const { return Left >= 0; }
    int Width() const { return Right - Left + 1; }
    int Height() const { return Bottom - Top + 1; }
    bool operator==(const FishBoundingBox&) const = default;
};

// Which pixels a box scan looks for.
enum class BoxRule {
    DiffersFrom, // every pixel whose value is not the given colour (a fish on its background)
    Equals,      // every pixel whose value is exactly the given colour (black in a turned mask)
};

// The first and last rows and columns holding a pixel the rule picks; `colour` is compared with
// pixel values as a pixel read returns them (no flag byte). An empty surface finds nothing.
FishBoundingBox ScanBox(const TBitmap& surface, TColor colour, BoxRule rule);

// The box of every pixel that is not the background colour.
inline FishBoundingBox FindFishBox(const TBitmap& picture, TColor background) {
    return ScanBox(picture, background, BoxRule::DiffersFrom);
}

// The shadow editor works at twice the picture's size for small pictures: 2 exactly when the
// picture is less than 150 wide and less than 110 high, else 1.
int ZoomFactorFor(int width, int height);

// Composes the fish data sheet into `sheet` (resized to 2w x 2h, every pixel rewritten):
// image quadrant = the picture's bounding box with the background blackened, mask quadrant =
// white background / black fish, bottom quadrants = the two shadow patterns over the box,
// shrunk by `zoom` (pixels falling together are ANDed) and turned into greys of their red level.
// `background` is a pixel-read value; the shadows are expected to be zoom times the picture's
// size (a part of the box they do not cover stays as the sheet's own fill). A picture without
// any fish pixel gives the 2 x 2 sheet of an empty fish: black image, white mask, white shadows.
// `sheet` must be a colour surface; its drawing state is left as it was.
void ComposeFishSheet(const TBitmap& picture, TColor background, const TBitmap& shadow1,
                      const TBitmap& shadow2, int zoom, TBitmap& sheet);
