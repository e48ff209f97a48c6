// Drawing a surface's pixels on a window or an image through a painter.
#pragma once

#include "raster/TBitmap.h"

#include <QRect>

class QPainter;

// Draws the part `area` of `surface` (clipped to the surface) at the same place in the painter's
// coordinates, or moved: the painter's point p shows the surface's pixel p + `shift`. Where the
// painter writes with Qt's raster engine into an image of 32-bit pixels, moved by whole pixels and
// nothing more (a window's backing image, most of the time), the rows are converted straight into
// that image inside the painter's clip: one pass over the pixels instead of a conversion into a new
// image and a copy of that.
void DrawSurface(QPainter& painter, const TBitmap& surface, const QRect& area,
                 QPoint shift = QPoint(0, 0));

// Whether DrawSurface writes straight into this painter's image.
bool DrawsStraight(QPainter& painter);
