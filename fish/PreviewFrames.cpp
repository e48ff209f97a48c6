// The animation preview's two frames: the fish under shadow pattern 1 and under pattern 2.
#include "fish/PreviewFrames.h"

void BuildPreviewFrames(const TBitmap& sheet, TBitmap& preview) {
    const int sheetWidth = sheet.Width();
    const int sheetHeight = sheet.Height();
    const int w = sheetWidth / 2;
    const int h = sheetHeight / 2;
    preview.SetWidth(sheetWidth);
    preview.SetHeight(h);

    const int pw = preview.Width();
    const int ph = preview.Height();
    TCanvas& canvas = preview.Canvas();
    const TCopyModeScope restore(canvas, canvas.CopyMode);
    const TRect left = Rect(0, 0, pw / 2, ph);
    const TRect right = Rect(pw / 2, 0, pw, ph);

    canvas.CopyMode = cmSrcCopy;
    canvas.CopyRect(left, sheet.Canvas(), Rect(0, 0, w, h));
    canvas.CopyRect(right, sheet.Canvas(), Rect(0, 0, w, h));

    canvas.CopyMode = cmSrcAnd;
    canvas.CopyRect(left, sheet.Canvas(), Rect(0, h, w, sheetHeight));
    canvas.CopyRect(right, sheet.Canvas(), Rect(w, h, sheetWidth, sheetHeight));
}
