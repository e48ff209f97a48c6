// The scrolled, zoomed client area of a child window: adopting the window's components, the
// scroll ranges from what they reach, the wheel, and the view zoom around a point.
#include "app/toolkit/ClientArea.h"

#include "app/toolkit/Application.h"
#include "app/toolkit/Form.h"
#include "app/toolkit/WheelScroll.h"
#include "raster/ViewZoom.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {

// The content: the window's components, over the window's own client surface.
class TClientContent : public QWidget {
  public:
    TClientContent(TForm* form, QWidget* parent) : QWidget(parent), form_(form) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        QPalette colours = palette();
        colours.setColor(QPalette::Window, ToQColor(form->Color()));
        setPalette(colours);
    }

  protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        form_->ClientArea()->PaintContent(painter, event->rect());
    }

  private:
    TForm* form_;
};

} // namespace

TClientArea::TClientArea(TForm* form) : QAbstractScrollArea(form), form_(form) {
    setObjectName("ClientArea");
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::TabFocus);
    content_ = new TClientContent(form, viewport());
    viewport()->installEventFilter(this);
    content_->setObjectName("ClientContent");
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(20);
}

void TClientArea::Adopt(QWidget* control) {
    const QPoint place = control->pos();
    const bool hidden = control->isHidden();
    control->setParent(content_);
    control->move(place);
    control->setVisible(!hidden);
    control->installEventFilter(this);
    UpdateRanges();
}

bool TClientArea::eventFilter(QObject* watched, QEvent* event) {
    if (watched == viewport()) {
        if (event->type() == QEvent::Leave) {
            pointer_.reset();
        }
        return QAbstractScrollArea::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::MouseMove:
        pointer_ = static_cast<QMouseEvent*>(event)->globalPosition();
        break;
    case QEvent::Wheel: {
        // Taken at the component under the pointer, whatever it would do with it.
        auto* control = static_cast<QWidget*>(watched);
        auto* wheel = static_cast<QWheelEvent*>(event);
        QWheelEvent here(control->mapTo(viewport(), wheel->position()), wheel->globalPosition(),
                         wheel->pixelDelta(), wheel->angleDelta(), wheel->buttons(),
                         wheel->modifiers(), wheel->phase(), wheel->inverted());
        wheelEvent(&here);
        return true;
    }
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
        UpdateRanges();
        break;
    default:
        break;
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

QSize TClientArea::Extent() const {
    // What the client surface reaches, zoomed around the zoom origin like the pictures.
    const QPoint origin = ZoomOrigin();
    QRect reach(
        QPoint(0, 0),
        QSize(std::max(0, ScreenAt(minimumExtent_.width() - origin.x(), zoom_) + origin.x()),
              std::max(0, ScreenAt(minimumExtent_.height() - origin.y(), zoom_) + origin.y())));
    for (QObject* object : content_->children()) {
        auto* control = qobject_cast<QWidget*>(object);
        if (control && !control->isHidden()) {
            reach |= control->geometry();
        }
    }
    return QSize(std::max(0, reach.right() + 1), std::max(0, reach.bottom() + 1));
}

void TClientArea::SetMinimumExtent(QSize extent) {
    minimumExtent_ = extent;
    UpdateRanges();
}

void TClientArea::UpdateRanges() {
    if (updating_) {
        return;
    }
    updating_ = true;
    const QSize extent = Extent();
    const QSize view = viewport()->size();
    // The content begins at the area's top in the window's coordinates.
    const int top = y();
    horizontalScrollBar()->setRange(0, std::max(0, extent.width() - view.width()));
    verticalScrollBar()->setRange(0, std::max(0, extent.height() - top - view.height()));
    horizontalScrollBar()->setPageStep(std::max(1, view.width()));
    verticalScrollBar()->setPageStep(std::max(1, view.height()));
    const QSize viewExtent(view.width() + horizontalScrollBar()->maximum(),
                           top + view.height() + verticalScrollBar()->maximum());
    content_->resize(viewExtent.expandedTo(extent));
    PlaceContent();
    updating_ = false;
}

void TClientArea::PlaceContent() {
    content_->move(-horizontalScrollBar()->value(), -y() - verticalScrollBar()->value());
    FollowPointer();
}

void TClientArea::FollowPointer() {
    for (QObject* object : content_->children()) {
        if (auto* image = qobject_cast<TImage*>(object)) {
            image->FollowPointer(pointer_);
        }
    }
}

void TClientArea::UpdateSurface(const QRect& area) {
    if (zoom_ == kNoZoom) {
        content_->update(area);
        return;
    }
    const QPoint origin = ZoomOrigin();
    const TRect screen =
        ScreenRect(Rect(area.left() - origin.x(), area.top() - origin.y(),
                        area.right() + 1 - origin.x(), area.bottom() + 1 - origin.y()),
                   zoom_);
    content_->update(
        QRect(screen.Left, screen.Top, screen.Width(), screen.Height()).translated(origin));
}

void TClientArea::PaintContent(QPainter& painter, const QRect& exposed) {
    if (zoom_ == kNoZoom) {
        form_->PaintSurface(painter, exposed);
        return;
    }
    // The surface's pixels as sharp squares around the zoom origin; the painter draws the whole
    // surface pixels that the exposed part touches.
    const QPoint origin = ZoomOrigin();
    const QPoint from = exposed.topLeft() - origin;
    const QPoint to = exposed.bottomRight() - origin;
    const QRect design = QRect(QPoint(PictureAt(from.x(), zoom_), PictureAt(from.y(), zoom_)),
                               QPoint(PictureAt(to.x(), zoom_), PictureAt(to.y(), zoom_)))
                             .translated(origin);
    painter.save();
    painter.setClipRect(exposed);
    painter.translate(origin);
    painter.scale(zoom_ / 100.0, zoom_ / 100.0);
    painter.translate(-origin);
    form_->PaintSurface(painter, design);
    painter.restore();
}

QPoint TClientArea::ScrollPosition() const {
    return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void TClientArea::ScrollTo(QPoint position) {
    horizontalScrollBar()->setValue(position.x());
    verticalScrollBar()->setValue(position.y());
}

void TClientArea::scrollContentsBy(int, int) {
    PlaceContent();
}

void TClientArea::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateRanges();
}

void TClientArea::moveEvent(QMoveEvent* event) {
    QAbstractScrollArea::moveEvent(event);
    UpdateRanges();
}

void TClientArea::SetZoom(int percent, QPoint anchor) {
    if (percent == zoom_) {
        return;
    }
    // The middle of the picture pixel under the anchor, as an offset from the zoom origin in
    // design units; after zooming the view is scrolled to bring it back under the middle of the
    // anchor's screen pixel.
    const QPoint scroll = ScrollPosition();
    const double pixelX = PictureAt(anchor.x() + scroll.x(), zoom_) + 0.5;
    const double pixelY = PictureAt(anchor.y() + scroll.y(), zoom_) + 0.5;
    zoom_ = percent;
    for (QObject* object : content_->children()) {
        if (auto* image = qobject_cast<TImage*>(object)) {
            image->SetZoom(zoom_, ZoomOrigin());
        }
    }
    UpdateRanges();
    const double scale = zoom_ / 100.0;
    ScrollTo(QPoint(static_cast<int>(std::lround(pixelX * scale - anchor.x() - 0.5)),
                    static_cast<int>(std::lround(pixelY * scale - anchor.y() - 0.5))));
    FollowPointer();
    UpdateViewMenu();
    content_->update();
}

void TClientArea::ZoomAroundPointer(int percent) {
    const QPoint pointer = viewport()->mapFromGlobal(QCursor::pos());
    SetZoom(percent, viewport()->rect().contains(pointer) ? pointer : viewport()->rect().center());
}

void TClientArea::AttachViewMenu(QAction* level, QAction* zoomIn, QAction* zoomOut,
                                 QAction* actualSize) {
    zoomLevel_ = level;
    zoomIn_ = zoomIn;
    zoomOut_ = zoomOut;
    actualSize_ = actualSize;
    zoomIn_->setShortcuts({zoomIn_->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    connect(zoomIn_, &QAction::triggered, this,
            [this] { Guarded([this] { ZoomAroundPointer(ZoomStepIn(zoom_)); }); });
    connect(zoomOut_, &QAction::triggered, this,
            [this] { Guarded([this] { ZoomAroundPointer(ZoomStepOut(zoom_)); }); });
    connect(actualSize_, &QAction::triggered, this,
            [this] { Guarded([this] { ZoomAroundPointer(kNoZoom); }); });
    UpdateViewMenu();
}

void TClientArea::UpdateViewMenu() {
    if (!zoomLevel_) {
        return;
    }
    zoomLevel_->setText(QString("Zoom: %1%").arg(zoom_));
    zoomLevel_->setEnabled(false);
    zoomIn_->setEnabled(ZoomStepIn(zoom_) != zoom_);
    zoomOut_->setEnabled(ZoomStepOut(zoom_) != zoom_);
    actualSize_->setEnabled(zoom_ != kNoZoom);
}

bool TClientArea::ZoomKey(QKeyEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        return false;
    }
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        ZoomAroundPointer(ZoomStepIn(zoom_));
        return true;
    case Qt::Key_Minus:
        ZoomAroundPointer(ZoomStepOut(zoom_));
        return true;
    case Qt::Key_0:
        ZoomAroundPointer(kNoZoom);
        return true;
    default:
        return false;
    }
}

void TClientArea::keyPressEvent(QKeyEvent* event) {
    if (!ZoomKey(event)) {
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void TClientArea::wheelEvent(QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    event->accept();
    if (event->modifiers() & Qt::ControlModifier) {
        const int notches = delta.y() != 0 ? delta.y() : delta.x();
        if (notches != 0) {
            const QPoint anchor = viewport()->mapFrom(this, event->position().toPoint());
            SetZoom(notches > 0 ? ZoomStepIn(zoom_) : ZoomStepOut(zoom_), anchor);
        }
        return;
    }
    if (ScrollByWheel(this, event)) {
        return;
    }
    // At its end that way: the frame's work area scrolls on, as nested scroll areas do.
    if (auto* window = qobject_cast<QMdiSubWindow*>(form_->Frame())) {
        if (QMdiArea* work = window->mdiArea()) {
            ScrollByWheel(work, event);
        }
    }
}
