// Shadows loaded back where the fish is: the fit check, the placement over the fish's box, and
// the shadows carried to a new version of the picture.
#include "shadow/ShadowsInPlace.h"

#include <algorithm>

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

namespace {

// A white width x height surface with the rectangle `from` of `source` stretched onto `to`.
TBitmap WhiteWith(int width, int height, const TBitmap& source, const TRect& from,
                  const TRect& to) {
    TBitmap shadow(width, height, clWhite);
    TCopyModeScope plainCopy(shadow.Canvas(), cmSrcCopy);
    shadow.Canvas().CopyRect(to, source.Canvas(), from);
    return shadow;
}

} // namespace

CarriedShadows CarryShadows(const TBitmap& oldPicture, int oldZoom, const TBitmap& oldShadow1,
                            const TBitmap& oldShadow2, const TBitmap& newPicture, int newZoom,
                            TColor background) {
    const int width = newZoom * newPicture.Width();
    const int height = newZoom * newPicture.Height();
    const FishBoundingBox oldBox = FindFishBox(oldPicture, background);
    const FishBoundingBox newBox = FindFishBox(newPicture, background);
    if (!oldBox.Found() || !newBox.Found()) {
        const TRect kept =
            Rect(0, 0, std::min(width, oldShadow1.Width()), std::min(height, oldShadow1.Height()));
        return {WhiteWith(width, height, oldShadow1, kept, kept),
                WhiteWith(width, height, oldShadow2, kept, kept)};
    }
    TBitmap sheet;
    ComposeFishSheet(oldPicture, background, oldShadow1, oldShadow2, oldZoom, sheet);
    const int w = std::min(oldBox.Width(), newBox.Width());
    const int h = std::min(oldBox.Height(), newBox.Height());
    const int top = sheet.Height() / 2;
    const int second = sheet.Width() / 2;
    const TRect place = Rect(newZoom * newBox.Left, newZoom * newBox.Top,
                             newZoom * (newBox.Left + w), newZoom * (newBox.Top + h));
    return {WhiteWith(width, height, sheet, Rect(0, top, w, top + h), place),
            WhiteWith(width, height, sheet, Rect(second, top, second + w, top + h), place)};
}
