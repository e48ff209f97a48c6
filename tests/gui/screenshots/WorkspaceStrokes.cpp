// Mouse events sent to image controls as the window system delivers them.
#include "screenshots/WorkspaceStrokes.h"

#include <QApplication>
#include <QMouseEvent>
#include <cmath>

namespace {
void Send(QWidget* control, QEvent::Type type, QPoint at, Qt::MouseButton button,
          Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), control->mapToGlobal(QPointF(at)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(control, &event);
}
} // namespace

void DragThrough(QWidget* control, const std::vector<QPoint>& points) {
    if (points.empty()) {
        return;
    }
    Send(control, QEvent::MouseButtonPress, points.front(), Qt::LeftButton, Qt::LeftButton);
    for (std::size_t i = 1; i < points.size(); ++i) {
        Send(control, QEvent::MouseMove, points[i], Qt::NoButton, Qt::LeftButton);
    }
    Send(control, QEvent::MouseButtonRelease, points.back(), Qt::LeftButton, Qt::NoButton);
}

void ClickAt(QWidget* control, QPoint at) {
    DragThrough(control, {at});
}

std::vector<QPoint> WavyStroke(QPoint from, QPoint to, int amplitude) {
    std::vector<QPoint> points;
    const QPoint span = to - from;
    const int steps = std::max(1, std::max(std::abs(span.x()), std::abs(span.y())) / 2);
    for (int i = 0; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        const double wave = amplitude * std::sin(t * 2 * 3.14159265358979);
        points.emplace_back(from.x() + static_cast<int>(span.x() * t),
                            from.y() + static_cast<int>(span.y() * t + wave));
    }
    return points;
}
