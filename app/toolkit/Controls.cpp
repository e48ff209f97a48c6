// The toolkit's controls: image control, panel, edit, timer, cursor, surface conversions.
#include "app/toolkit/Controls.h"

#include "app/toolkit/Application.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

QImage ToQImage(const TBitmap& bitmap, const QRect& part) {
    const QRect area = part & QRect(0, 0, bitmap.Width(), bitmap.Height());
    QImage image(area.size(), QImage::Format_RGB32);
    for (int y = 0; y < area.height(); ++y) {
        const std::uint32_t* source = bitmap.Row(area.top() + y) + area.left();
        auto* target = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < area.width(); ++x) {
            const std::uint32_t c = source[x];
            target[x] = qRgb(RedOf(c), GreenOf(c), BlueOf(c));
        }
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
    rules_.OnRepaint = [this] { Repaint(); };
    rules_.OnResize = [this](int width, int height) { resize(width, height); };
}

void TImage::Repaint() {
    update();
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
        const TBitmap* bitmap = rules_.Picture().Bitmap();
        if (!bitmap || bitmap->Empty()) {
            return;
        }
        // Only the exposed part is converted, which Qt keeps to what can be seen: a large
        // picture costs no copy of itself at each repaint.
        const QRect exposed = event->rect() & QRect(0, 0, bitmap->Width(), bitmap->Height());
        QPainter painter(this);
        if (!translucent_.isNull() && bitmap->SharesPixelsWith(translucentPixels_)) {
            painter.drawImage(exposed.topLeft(), translucent_, exposed);
            return;
        }
        painter.drawImage(exposed.topLeft(), ToQImage(*bitmap, exposed));
    });
}

void TImage::resizeEvent(QResizeEvent*) {
    Guarded([this] { rules_.SetSize(width(), height()); });
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

void Send(const std::function<void(TMouseButton, int, int)>& handler, TMouseButton button,
          const QPointF& position) {
    if (handler) {
        const int x = static_cast<int>(std::floor(position.x()));
        const int y = static_cast<int>(std::floor(position.y()));
        Guarded([&] { handler(button, x, y); });
    }
}
} // namespace

void TImage::mousePressEvent(QMouseEvent* event) {
    Send(OnMouseDown, ButtonOf(event->button()), event->position());
}

void TImage::mouseMoveEvent(QMouseEvent* event) {
    Send(OnMouseMove, HeldButtonOf(event->buttons()), event->position());
}

void TImage::mouseReleaseEvent(QMouseEvent* event) {
    Send(OnMouseUp, ButtonOf(event->button()), event->position());
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
