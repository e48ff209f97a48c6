// One soft-pen step of the shadow editor: the stamp ANDed into a shadow and into its view.
#include "shadow/ShadowPaint.h"

#include "shadow/PenStamp.h"

namespace {

void AndCopy(TBitmap& target, const TRect& dest, const TCanvas& source, const TRect& sourceRect) {
    const TCopyModeScope andMode(target.Canvas(), cmSrcAnd);
    target.Canvas().CopyRect(dest, source, sourceRect);
}

} // namespace

void PaintShadowStep(const TCanvas& penArea, int penBitmapWidth, int x, int y, TBitmap& shadow,
                     TBitmap& view) {
    const int h = penBitmapWidth / 2;
    if (h <= 0) {
        return; // both squares would be inverted
    }
    const TRect stamp =
        Rect(kStampCentre + 1 - h, kStampCentre + 1 - h, kStampCentre + h, kStampCentre + h);
    const TRect square = Rect(x - h + 1, y - h + 1, x + h, y + h);
    AndCopy(shadow, square, penArea, stamp);
    AndCopy(view, square, shadow.Canvas(), square);
}
