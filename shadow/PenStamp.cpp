// The soft pen: its three settings, the slider rule for the centre and the grey disc stamp.
#include "shadow/PenStamp.h"

void DrawPenStamp(TCanvas& area, const PenSettings& pen) {
    const int a = pen.PenWidth;
    // A centre as wide as the pen (or wider, left over from a wider pen) keeps one ring.
    const int b = pen.CenterSize < a ? pen.CenterSize : a - 1;
    const int step = pen.PenDensity / (a - b);

    area.Brush.Color = clPaletteWhite;
    area.FillRect(Rect(0, 0, kStampAreaSize, kStampAreaSize));

    area.Pen.Style = TPenStyle::psClear;
    for (int n = a; n >= b; --n) {
        const int k = a - n;
        const int m = n / 2;
        area.Brush.Color = clPaletteWhite - static_cast<TColor>(step * k) * 0x010101u;
        area.Ellipse(kStampCentre - m, kStampCentre - m, kStampCentre + m, kStampCentre + m);
    }
}

void CopyPenStamp(const TCanvas& area, int penWidth, TBitmap& penBitmap) {
    penBitmap.SetWidth(penWidth);
    penBitmap.SetHeight(penWidth);
    const int half = penWidth / 2;
    TCanvas& canvas = penBitmap.Canvas();
    const TCopyModeScope plainCopy(canvas, cmSrcCopy);
    canvas.CopyRect(
        Rect(0, 0, penWidth, penWidth), area,
        Rect(kStampCentre - half, kStampCentre - half, kStampCentre + half, kStampCentre + half));
}
