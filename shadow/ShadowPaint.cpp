// One soft-pen step of the shadow editor: the stamp ANDed into a shadow and into its view.
#include "shadow/ShadowPaint.h"

#include "shadow/PenStamp.h"

namespace {

void AndCopy(TBitmap& target, const TRect& dest, const TCanvas& source, const TRect& sourceRect) {
    const TCopyModeScope andMode(target.Canvas(), cmSrcAnd);
    target.Canvas().CopyRect(dest, source, sourceRect);
}

} // namespace

TRect PaintSquare(int penBitmapWidth, int x, int y) {
    const int h = penBitmapWidth / 2;
    if (h <= 0) {
        return TRect{}; // both squares would be inverted
    }
    return Rect(x - h + 1, y - h + 1, x + h, y + h);
}

void PaintShadowStep(const TCanvas& penArea, int penBitmapWidth, int x, int y, TBitmap& shadow,
                     TBitmap& view) {
    const TRect square = PaintSquare(penBitmapWidth, x, y);
    if (square.Width() <= 0) {
        return;
    }
    const int h = penBitmapWidth / 2;
    const TRect stamp =
        Rect(kStampCentre + 1 - h, kStampCentre + 1 - h, kStampCentre + h, kStampCentre + h);
    AndCopy(shadow, square, penArea, stamp);
    AndCopy(view, square, shadow.Canvas(), square);
}
