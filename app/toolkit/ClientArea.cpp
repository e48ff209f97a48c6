// The scrolled, zoomed client area of a child window: adopting the window's components, the
// scroll ranges from what they reach, the wheel, and the view zoom around a point.
#include "app/toolkit/ClientArea.h"

#include "app/toolkit/Application.h"
#include "app/toolkit/Form.h"
#include "raster/ViewZoom.h"

#include <QApplication>
#include <QKeyEvent>
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
        form_->PaintSurface(painter, event->rect());
    }

  private:
    TForm* form_;
};

constexpr int kWheelStep = 120; // one notch of an ordinary wheel

} // namespace

TClientArea::TClientArea(TForm* form) : QAbstractScrollArea(form), form_(form) {
    setObjectName("ClientArea");
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    content_ = new TClientContent(form, viewport());
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
    switch (event->type()) {
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
    QRect reach(QPoint(0, 0), minimumExtent_);
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
    content_->update();
}

bool TClientArea::ZoomKey(QKeyEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        return false;
    }
    const QPoint pointer = viewport()->mapFromGlobal(QCursor::pos());
    const QPoint anchor =
        viewport()->rect().contains(pointer) ? pointer : viewport()->rect().center();
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        SetZoom(ZoomStepIn(zoom_), anchor);
        return true;
    case Qt::Key_Minus:
        SetZoom(ZoomStepOut(zoom_), anchor);
        return true;
    case Qt::Key_0:
        SetZoom(kNoZoom, anchor);
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
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    event->accept();
    if (modifiers & Qt::ControlModifier) {
        const int notches = delta.y() != 0 ? delta.y() : delta.x();
        if (notches != 0) {
            const QPoint anchor = viewport()->mapFrom(this, event->position().toPoint());
            SetZoom(notches > 0 ? ZoomStepIn(zoom_) : ZoomStepOut(zoom_), anchor);
        }
        return;
    }
    // Some systems turn Shift + wheel into a sideways turn themselves; either way it scrolls
    // horizontally.
    const bool sideways = (modifiers & Qt::ShiftModifier) || (delta.y() == 0 && delta.x() != 0);
    const int turn = delta.y() != 0 ? delta.y() : delta.x();
    QScrollBar* bar = sideways ? horizontalScrollBar() : verticalScrollBar();
    const int lines = QApplication::wheelScrollLines();
    bar->setValue(bar->value() - turn * lines * bar->singleStep() / kWheelStep);
}
