// The wheel's scrolling of a scroll area, shared by the child windows' client areas and the
// frame's work area: the turn's direction, its length in pixels, and whether anything moved.
#pragma once

class QAbstractScrollArea;
class QWheelEvent;

// Scrolls `area` by the wheel's turn: vertically, or horizontally with Shift (some systems turn
// Shift + wheel into a sideways turn themselves) or for a tilt wheel. False when the scroll bar
// was already at its end in that direction, so the turn is the next scroll area's to take.
bool ScrollByWheel(QAbstractScrollArea* area, const QWheelEvent* event);
