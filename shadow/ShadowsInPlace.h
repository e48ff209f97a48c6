// Shadows loaded back where the fish is: a sheet's shadow quadrants placed over the fish's
// bounding box in the shadow surfaces, for a sheet whose quadrants are the size of that box; and
// the shadows carried over to a new version of the picture the same way.
#pragma once

#include "fish/SheetComposer.h"
#include "raster/Errors.h"
#include "raster/TBitmap.h"

// The sheet's quadrants are not the size of the fish's bounding box. When the background colour
// is nowhere on the picture's border, the background was most likely never picked, and the
// message asks about it.
class ESheetDoesNotFitFish : public EVelmoraError {
  public:
    explicit ESheetDoesNotFitFish(bool backgroundOnBorder = true);
};

namespace msg {
inline constexpr const char* kSheetDoesNotFitFish = "ｼｰﾄの大きさが魚の範囲と合いません";
inline constexpr const char* kSheetDoesNotFitFishPickBackground =
    "ｼｰﾄの大きさが魚の範囲と合いません。背景色を選びましたか？";
} // namespace msg

// Whether any pixel of the picture's outermost rows and columns has that colour.
bool ColourOnBorder(const TBitmap& picture, TColor colour);

// Whether the sheet's quadrant size (width div 2 by height div 2) is the box's size. A picture
// with no fish pixel has no extent for any sheet to fit.
bool SheetFitsFish(const TBitmap& sheet, const FishBoundingBox& box);

// Both shadows white, then the sheet's first and second shadow quadrants copied over the box,
// each sheet pixel a zoom x zoom block, so that composing a sheet from the same picture gives
// those quadrants back. Throws ESheetDoesNotFitFish, touching nothing, when the sheet does not
// fit (`backgroundOnBorder` chooses its message). The shadows are expected to be zoom times the
// picture's size; their drawing state is kept.
void PlaceSheetShadows(const TBitmap& sheet, const FishBoundingBox& box, int zoom, TBitmap& shadow1,
                       TBitmap& shadow2, bool backgroundOnBorder = true);

// The two shadows for a new version of the picture, `zoom` times its size.
struct CarriedShadows {
    TBitmap Shadow1;
    TBitmap Shadow2;
};

// Carries the shadows painted over `oldPicture` (at `oldZoom`) to `newPicture` (at `newZoom`), a
// picture of another size: the shadows as a sheet composed from the old picture holds them, placed
// over the new picture's fish box as PlaceSheetShadows places them, their top-left corners
// together, cut or padded with white where the boxes differ in size. When either picture has no
// fish pixel the shadow pixels stay where they were, cut or padded with white to the new size.
CarriedShadows CarryShadows(const TBitmap& oldPicture, int oldZoom, const TBitmap& oldShadow1,
                            const TBitmap& oldShadow2, const TBitmap& newPicture, int newZoom,
                            TColor background);
