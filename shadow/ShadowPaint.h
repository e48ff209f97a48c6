// One soft-pen step of the shadow editor: the stamp ANDed into a shadow and into its view.
#pragma once

#include "raster/TBitmap.h"

// Paints the pen once at the pointer's pixel (x, y): with h = penBitmapWidth div 2, the
// (2h - 1)-pixel square of the stamp area centred on (25,25) is ANDed onto `shadow` centred on
// (x, y), then the same square of `shadow` is ANDed onto `view`. Parts outside a surface are
// clipped. A pen narrower than 2 (h = 0) paints nothing. Copy modes are restored afterwards.
// The square one paint step at (x, y) may change in the shadow and its view: (2h - 1) pixels a
// side, centred on (x, y); empty for a pen narrower than 2.
TRect PaintSquare(int penBitmapWidth, int x, int y);

void PaintShadowStep(const TCanvas& penArea, int penBitmapWidth, int x, int y, TBitmap& shadow,
                     TBitmap& view);
