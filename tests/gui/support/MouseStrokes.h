// Mouse events sent to a control as the window system delivers them, at exact points (QTest
// takes the point (0, 0) for "the control's centre"): drags, clicks and hovering.
#pragma once

#include <QPoint>
#include <QWidget>
#include <vector>

namespace gui_test {

// A real drag: press at `from`, one move per point with the left button held, release at the
// last point.
void Stroke(QWidget* control, QPoint from, const std::vector<QPoint>& moves);
// A press and a release without movement in between, at two points or at one.
void Release(QWidget* control, QPoint pressed, QPoint released);
void Click(QWidget* control, QPoint at);
// A move with no button held.
void Hover(QWidget* control, QPoint at);

} // namespace gui_test
