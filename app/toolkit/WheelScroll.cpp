// The wheel's scrolling of a scroll area: direction, length and whether the bar moved.
#include "app/toolkit/WheelScroll.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QScrollBar>
#include <QWheelEvent>

namespace {
constexpr int kWheelStep = 120; // one notch of an ordinary wheel
}

bool ScrollByWheel(QAbstractScrollArea* area, const QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    const bool sideways =
        (event->modifiers() & Qt::ShiftModifier) || (delta.y() == 0 && delta.x() != 0);
    const int turn = delta.y() != 0 ? delta.y() : delta.x();
    QScrollBar* bar = sideways ? area->horizontalScrollBar() : area->verticalScrollBar();
    const int before = bar->value();
    const int lines = QApplication::wheelScrollLines();
    bar->setValue(before - turn * lines * bar->singleStep() / kWheelStep);
    return bar->value() != before;
}
