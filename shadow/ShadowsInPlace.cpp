// Shadows loaded back where the fish is: the fit check and the placement over the fish's box.
#include "shadow/ShadowsInPlace.h"

ESheetDoesNotFitFish::ESheetDoesNotFitFish(bool backgroundOnBorder)
    : EVelmoraError(backgroundOnBorder ? msg::kSheetDoesNotFitFish
                                       : msg::kSheetDoesNotFitFishPickBackground) {}

bool ColourOnBorder(const TBitmap& picture, TColor colour) {
    const int w = picture.Width();
    const int h = picture.Height();
    const TCanvas& canvas = picture.Canvas();
    for (int x = 0; x < w; ++x) {
        if (canvas.Pixel(x, 0) == colour || canvas.Pixel(x, h - 1) == colour) {
            return true;
        }
    }
    for (int y = 0; y < h; ++y) {
        if (canvas.Pixel(0, y) == colour || canvas.Pixel(w - 1, y) == colour) {
            return true;
        }
    }
    return false;
}

bool SheetFitsFish(const TBitmap& sheet, const FishBoundingBox& box) {
    return box.Found() && sheet.Width() / 2 == box.Width() && sheet.Height() / 2 == box.Height();
}

namespace {

void PlaceQuadrant(const TBitmap& sheet, const TRect& quadrant, const TRect& place,
                   TBitmap& shadow) {
    TCanvas& canvas = shadow.Canvas();
    const TColor brush = canvas.Brush.Color;
    canvas.Brush.Color = clWhite;
    canvas.FillRect(Rect(0, 0, shadow.Width(), shadow.Height()));
    canvas.Brush.Color = brush;
    TCopyModeScope plainCopy(canvas, cmSrcCopy);
    canvas.CopyRect(place, sheet.Canvas(), quadrant);
}

} // namespace

void PlaceSheetShadows(const TBitmap& sheet, const FishBoundingBox& box, int zoom, TBitmap& shadow1,
                       TBitmap& shadow2, bool backgroundOnBorder) {
    if (!SheetFitsFish(sheet, box)) {
        throw ESheetDoesNotFitFish(backgroundOnBorder);
    }
    const int w = box.Width();
    const int h = box.Height();
    const int top = sheet.Height() / 2;
    // An odd sheet's last column and row belong to no quadrant of this size.
    const TRect place =
        Rect(zoom * box.Left, zoom * box.Top, zoom * (box.Right + 1), zoom * (box.Bottom + 1));
    PlaceQuadrant(sheet, Rect(0, top, w, top + h), place, shadow1);
    PlaceQuadrant(sheet, Rect(w, top, 2 * w, top + h), place, shadow2);
}
