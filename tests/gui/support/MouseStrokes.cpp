// Mouse events sent straight to the control, so that no point is taken for another.
#include "support/MouseStrokes.h"

#include <QApplication>
#include <QMouseEvent>

namespace gui_test {

namespace {
void SendMouse(QWidget* control, QEvent::Type type, QPoint at, Qt::MouseButton button,
               Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), control->mapToGlobal(QPointF(at)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(control, &event);
}
} // namespace

void Stroke(QWidget* control, QPoint from, const std::vector<QPoint>& moves) {
    SendMouse(control, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    QPoint last = from;
    for (const QPoint& point : moves) {
        SendMouse(control, QEvent::MouseMove, point, Qt::NoButton, Qt::LeftButton);
        last = point;
    }
    SendMouse(control, QEvent::MouseButtonRelease, last, Qt::LeftButton, Qt::NoButton);
}

void Release(QWidget* control, QPoint pressed, QPoint released) {
    SendMouse(control, QEvent::MouseButtonPress, pressed, Qt::LeftButton, Qt::LeftButton);
    SendMouse(control, QEvent::MouseButtonRelease, released, Qt::LeftButton, Qt::NoButton);
}

void Click(QWidget* control, QPoint at) {
    Release(control, at, at);
}

void Hover(QWidget* control, QPoint at) {
    SendMouse(control, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
}

} // namespace gui_test
