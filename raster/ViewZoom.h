// The view zoom of a picture on screen: its steps, the mapping between screen and picture pixels,
// and drawing a zoomed part of a surface with sharp, unsmoothed pixels.
#pragma once

#include "raster/TBitmap.h"

#include <cstddef>
#include <cstdint>

// Zoom factors in percent, smallest first; 100 shows one screen pixel per picture pixel.
inline constexpr int kZoomSteps[] = {25, 50, 100, 200, 300, 400, 600, 800, 1200, 1600};
inline constexpr int kNoZoom = 100;

// The next step above or below `percent` (the end steps stay where they are).
int ZoomStepIn(int percent);
int ZoomStepOut(int percent);

// The picture pixel a screen pixel shows (floor division, also for negative positions, so a
// pointer left of or above the picture maps outside it).
int PictureAt(int screen, int percent);
// The picture coordinate of a screen position given to a fraction of a pixel.
int PictureAt(double screen, int percent);
// The first screen pixel that shows picture pixel `picture`.
int ScreenAt(int picture, int percent);
// The screen length that shows `length` picture pixels.
int ScreenLength(int length, int percent);
// The screen rectangle that shows the picture rectangle.
TRect ScreenRect(const TRect& picture, int percent);

// Writes the screen rectangle `screen` of `picture` zoomed by `percent` as 0xFFRRGGBB pixels,
// row by row `stride` pixels apart; screen pixels beyond the picture are left as they are. Each
// picture pixel becomes a sharp square: no smoothing.
void RenderZoomed(const TBitmap& picture, int percent, const TRect& screen, std::uint32_t* out,
                  std::ptrdiff_t stride);
