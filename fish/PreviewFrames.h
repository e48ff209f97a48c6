// The animation preview's two frames: the fish under shadow pattern 1 and under pattern 2.
#pragma once

#include "raster/TBitmap.h"

// Sizes `preview` to the sheet's width and half its height and fills it with the two frames side
// by side: left half = image quadrant AND first shadow quadrant, right half = image quadrant AND
// second shadow quadrant. For odd sheet sizes the halves are stretched or shrunk as the copy
// rule does. An empty sheet gives an empty preview. The preview's drawing state is kept.
void BuildPreviewFrames(const TBitmap& sheet, TBitmap& preview);
