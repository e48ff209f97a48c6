// Surface pixels drawn straight into a painter's image where it allows, through a converted
// image otherwise.
#include "app/toolkit/SurfacePainting.h"

#include "app/toolkit/Controls.h"
#include "raster/RowConversions.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPoint>
#include <QRegion>
#include <QTransform>
#include <cmath>

namespace {
// The image the painter writes to, when a surface's rows can be converted straight into it:
// the raster engine on an image whose pixels are 0xFFRRGGBB when opaque, a transformation that
// only moves by whole device pixels, and no clip, opacity or composition of the painter's own.
QImage* DirectTarget(QPainter& painter, QPoint& shift) {
    QPaintEngine* engine = painter.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster || painter.hasClipping() ||
        painter.opacity() != 1.0 ||
        painter.compositionMode() != QPainter::CompositionMode_SourceOver) {
        return nullptr;
    }
    QPaintDevice* device = engine->paintDevice();
    if (!device || device->devType() != QInternal::Image) {
        return nullptr;
    }
    auto* image = static_cast<QImage*>(device);
    const QImage::Format format = image->format();
    if ((format != QImage::Format_RGB32 && format != QImage::Format_ARGB32 &&
         format != QImage::Format_ARGB32_Premultiplied) ||
        image->devicePixelRatio() != 1.0) {
        return nullptr;
    }
    const QTransform transform = painter.deviceTransform();
    if (transform.type() > QTransform::TxTranslate ||
        transform.dx() != std::round(transform.dx()) ||
        transform.dy() != std::round(transform.dy())) {
        return nullptr;
    }
    shift = QPoint(static_cast<int>(transform.dx()), static_cast<int>(transform.dy()));
    return image;
}
} // namespace

bool DrawsStraight(QPainter& painter) {
    QPoint shift;
    return DirectTarget(painter, shift) != nullptr;
}

void DrawSurface(QPainter& painter, const TBitmap& surface, const QRect& area, QPoint shift) {
    const QRect drawn = area & QRect(0, 0, surface.Width(), surface.Height()).translated(-shift);
    if (drawn.isEmpty()) {
        return;
    }
    QPoint device;
    QImage* target = DirectTarget(painter, device);
    if (!target) {
        painter.drawImage(drawn.topLeft(), ToQImage(surface, drawn.translated(shift)));
        return;
    }
    // The system clip is what the window system asked to be painted (in device pixels); outside
    // it lie other widgets' pixels.
    const QRegion systemClip = painter.paintEngine()->systemClip();
    QRegion region = QRegion(drawn.translated(device)) & target->rect();
    if (!systemClip.isEmpty()) {
        region &= systemClip;
    }
    const RowConversions& convert = RowConverter();
    for (const QRect& part : region) {
        const QRect from = part.translated(shift - device);
        for (int y = 0; y < part.height(); ++y) {
            // Written as the raster engine writes, into the pixels it holds, without detaching.
            auto* row = reinterpret_cast<std::uint32_t*>(
                            const_cast<uchar*>(target->constScanLine(part.top() + y))) +
                        part.left();
            convert.ToOpaqueArgb(surface.Row(from.top() + y) + from.left(), row, part.width());
        }
    }
}
