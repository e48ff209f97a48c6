// The toolkit's controls: image control, panel, edit, timer, cursor, surface conversions.
#include "app/toolkit/Controls.h"

#include "app/toolkit/Application.h"
#include "raster/RowConversions.h"
#include "raster/ViewZoom.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

QImage ToQImage(const TBitmap& bitmap, const QRect& part) {
    const QRect area = part & QRect(0, 0, bitmap.Width(), bitmap.Height());
    QImage image(area.size(), QImage::Format_RGB32);
    const RowConversions& convert = RowConverter();
    for (int y = 0; y < area.height(); ++y) {
        const std::uint32_t* source = bitmap.Row(area.top() + y) + area.left();
        convert.ToOpaqueArgb(source, reinterpret_cast<std::uint32_t*>(image.scanLine(y)),
                             area.width());
    }
    return image;
}

QImage ToQImage(const TBitmap& bitmap) {
    return ToQImage(bitmap, QRect(0, 0, bitmap.Width(), bitmap.Height()));
}

QColor ToQColor(TColor color) {
    const TColor resolved = ResolveColor(color);
    return QColor(RedOf(resolved), GreenOf(resolved), BlueOf(resolved));
}

TBitmap FromQImage(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_ARGB32);
    TBitmap bitmap(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* source = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        std::uint32_t* target = bitmap.MutableRow(y);
        for (int x = 0; x < rgb.width(); ++x) {
            // Transparent pixels show white, the colour of a new surface.
            const QRgb c = qAlpha(source[x]) < 128 ? qRgb(255, 255, 255) : source[x];
            target[x] = RGB(qRed(c), qGreen(c), qBlue(c));
        }
    }
    bitmap.Changed();
    return bitmap;
}

// The control's size on creation is the definition's default until the .ui geometry arrives.
TImage::TImage(QWidget* parent) : QWidget(parent), rules_(105, 105, true) {
    resize(105, 105);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    rules_.OnRepaint = [this] { Repaint(); };
    rules_.OnResize = [this](int width, int height) {
        resize(ScreenLength(width, zoom_), ScreenLength(height, zoom_));
    };
}

void TImage::TakeDesignSize() {
    if (zoom_ == kNoZoom) {
        rules_.SetSize(width(), height());
    }
}

// Only the changed part of the picture is drawn again.
void TImage::Repaint() {
    const TRect area = ScreenRect(rules_.Picture().ChangedArea(), zoom_);
    update(QRect(area.Left, area.Top, area.Width(), area.Height()));
}

void TImage::MoveTo(int left, int top) {
    designPos_ = QPoint(left, top);
    PlaceZoomed();
}

void TImage::TakeDesignPlace() {
    if (zoom_ == kNoZoom && !placing_) {
        designPos_ = pos();
    }
}

void TImage::SetZoom(int percent, QPoint origin) {
    TakeDesignSize();
    TakeDesignPlace();
    zoom_ = percent;
    zoomOrigin_ = origin;
    resize(ScreenLength(rules_.Width(), zoom_), ScreenLength(rules_.Height(), zoom_));
    PlaceZoomed();
    update();
}

QPoint TImage::ZoomedPos() const {
    const QPoint offset = designPos_ - zoomOrigin_;
    return zoomOrigin_ + QPoint(ScreenAt(offset.x(), zoom_), ScreenAt(offset.y(), zoom_));
}

void TImage::PlaceZoomed() {
    placing_ = true;
    move(ZoomedPos());
    placing_ = false;
}

void TImage::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    // Moved by a window at 100%, where the Qt place is the design place.
    TakeDesignPlace();
}

void TImage::SetPenOutline(int diameter) {
    if (std::max(diameter, 0) == penOutline_) {
        return;
    }
    const QRect before = OutlineRect();
    penOutline_ = std::max(diameter, 0);
    update(before | OutlineRect());
}

QRect TImage::OutlineRect() const {
    if (penOutline_ <= 0 || !pointer_) {
        return {};
    }
    const TRect pixel =
        ScreenRect(Rect(pointer_->x(), pointer_->y(), pointer_->x() + 1, pointer_->y() + 1), zoom_);
    const int radius = (ScreenLength(penOutline_, zoom_) + 1) / 2 + 2;
    const QPoint centre((pixel.Left + pixel.Right) / 2, (pixel.Top + pixel.Bottom) / 2);
    return QRect(centre - QPoint(radius, radius), centre + QPoint(radius, radius));
}

void TImage::PointerAt(const QPointF& position) {
    const QPoint pixel(PictureAt(position.x(), zoom_), PictureAt(position.y(), zoom_));
    if (pointer_ == pixel) {
        return;
    }
    const QRect before = OutlineRect();
    pointer_ = pixel;
    if (penOutline_ > 0) {
        update(before | OutlineRect());
    }
}

void TImage::FollowPointer(const std::optional<QPointF>& global) {
    const QPointF local = global ? mapFromGlobal(*global) : QPointF(-1, -1);
    if (global && rect().contains(local.toPoint())) {
        PointerAt(local);
        return;
    }
    if (pointer_) {
        const QRect before = OutlineRect();
        pointer_.reset();
        update(before);
    }
}

void TImage::leaveEvent(QEvent* event) {
    QWidget::leaveEvent(event);
    const QRect before = OutlineRect();
    pointer_.reset();
    update(before);
}

void TImage::LoadPictureResource(const QString& path) {
    pictureResource_ = path;
    QImage image(path);
    if (image.isNull()) {
        // Reached from the form loader inside Qt: a missing resource shows as an empty picture
        // and the window definition's test catches it.
        rules_.Picture().Clear();
        return;
    }
    rules_.Picture().Assign(FromQImage(image));
    if (image.hasAlphaChannel()) {
        translucent_ = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        translucentPixels_ = *rules_.Picture().Bitmap();
    }
}

void TImage::paintEvent(QPaintEvent* event) {
    Guarded([this, event] {
        QPainter painter(this);
        const TBitmap* bitmap = rules_.Picture().Bitmap();
        const QRect exposed = event->rect();
        if (bitmap && !translucent_.isNull() && zoom_ == 100 &&
            bitmap->SharesPixelsWith(translucentPixels_)) {
            painter.drawImage(exposed.topLeft(), translucent_, exposed);
            return;
        }
        // Only the exposed part is converted and zoomed, which Qt keeps to what can be seen: a
        // large picture at any zoom costs no copy of itself at each repaint. What lies beyond
        // the picture shows the parent's colour.
        const QRect shown = bitmap && !bitmap->Empty()
                                ? exposed & QRect(0, 0, ScreenLength(bitmap->Width(), zoom_),
                                                  ScreenLength(bitmap->Height(), zoom_))
                                : QRect();
        if (shown != exposed) {
            painter.fillRect(exposed, palette().color(backgroundRole()));
        }
        if (!shown.isEmpty()) {
            QImage part(shown.size(), QImage::Format_RGB32);
            RenderZoomed(*bitmap, zoom_,
                         Rect(shown.left(), shown.top(), shown.right() + 1, shown.bottom() + 1),
                         reinterpret_cast<std::uint32_t*>(part.bits()),
                         part.bytesPerLine() / static_cast<int>(sizeof(std::uint32_t)));
            painter.drawImage(shown.topLeft(), part);
        }
        const QRect outline = OutlineRect();
        if (!outline.isEmpty() && outline.intersects(exposed)) {
            // Two rings, black outside white, show on light and dark pictures alike.
            const QRectF ring = QRectF(outline).adjusted(2, 2, -2, -2);
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(Qt::black, 1));
            painter.drawEllipse(ring);
            painter.setPen(QPen(Qt::white, 1));
            painter.drawEllipse(ring.adjusted(1, 1, -1, -1));
        }
    });
}

void TImage::resizeEvent(QResizeEvent*) {
    Guarded([this] { TakeDesignSize(); });
}

namespace {
TMouseButton ButtonOf(Qt::MouseButton button) {
    switch (button) {
    case Qt::RightButton:
        return TMouseButton::mbRight;
    case Qt::MiddleButton:
        return TMouseButton::mbMiddle;
    default:
        return TMouseButton::mbLeft;
    }
}

TMouseButton HeldButtonOf(Qt::MouseButtons buttons) {
    if (buttons & Qt::RightButton) {
        return TMouseButton::mbRight;
    }
    if (buttons & Qt::MiddleButton) {
        return TMouseButton::mbMiddle;
    }
    return TMouseButton::mbLeft;
}

// The position reaches the handler as the picture pixel under the pointer.
void Send(const std::function<void(TMouseButton, int, int)>& handler, TMouseButton button,
          const QPointF& position, int zoom) {
    if (handler) {
        const int x = PictureAt(position.x(), zoom);
        const int y = PictureAt(position.y(), zoom);
        Guarded([&] { handler(button, x, y); });
    }
}
} // namespace

void TImage::mousePressEvent(QMouseEvent* event) {
    Send(OnMouseDown, ButtonOf(event->button()), event->position(), zoom_);
}

void TImage::mouseMoveEvent(QMouseEvent* event) {
    PointerAt(event->position());
    Send(OnMouseMove, HeldButtonOf(event->buttons()), event->position(), zoom_);
}

void TImage::mouseReleaseEvent(QMouseEvent* event) {
    Send(OnMouseUp, ButtonOf(event->button()), event->position(), zoom_);
}

TPanel::TPanel(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setAutoFillBackground(true);
}

TEdit::TEdit(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (OnChange) {
            Guarded(OnChange);
        }
    });
}

namespace {
// The window a control sits in: its MDI child's sub-window, or its top-level window.
const QWidget* WindowOf(const QWidget* control) {
    const QWidget* w = control;
    while (w->parentWidget() && !w->isWindow() && !qobject_cast<const QMdiSubWindow*>(w)) {
        w = w->parentWidget();
    }
    return w;
}
} // namespace

// Only the focus moving on to another control of the edit's own window is an exit. A menu, a
// message box or dialog, or another window taking the focus leaves the edit as the user left it.
void TEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    const QWidget* next = QApplication::focusWidget(); // already the control that gains it
    const QWidget* own = WindowOf(this);
    if (OnExit && next && next != this && next != own && WindowOf(next) == own) {
        Guarded(OnExit);
    }
}

int KeyCode(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_Delete:
        return 46;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    default:
        if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) ||
            (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)) {
            return qtKey; // Qt numbers these keys by their ASCII codes
        }
        return 0;
    }
}

void TEdit::keyPressEvent(QKeyEvent* event) {
    int key = KeyCode(event->key());
    if (OnKeyDown && key != 0) {
        Guarded([&] { OnKeyDown(key); });
        if (key == 0) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

TTimer::TTimer(QWidget* parent) : QWidget(parent) {
    hide();
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (OnTimer) {
            Guarded(OnTimer);
        }
    });
    Restart();
}

void TTimer::SetInterval(int milliseconds) {
    interval_ = milliseconds;
    Restart();
}

void TTimer::SetEnabled(bool enabled) {
    enabled_ = enabled;
    Restart();
}

void TTimer::Restart() {
    timer_.stop();
    if (enabled_ && interval_ > 0) {
        timer_.start(interval_);
    }
}

void SetCursor(QWidget* control, TCursor cursor) {
    if (cursor == TCursor::crHourGlass) {
        control->setCursor(Qt::WaitCursor);
    } else {
        control->unsetCursor();
    }
}

THourglass::THourglass(QWidget* control) : control_(control) {
    SetCursor(control_, TCursor::crHourGlass);
}

THourglass::~THourglass() {
    SetCursor(control_, TCursor::crDefault);
}
