// Real mouse strokes for the workspace screenshots: a drag over an image control as the user
// paints, and a click.
#pragma once

#include <QPoint>
#include <QWidget>
#include <vector>

// Press at the first point, a move to each further point, release at the last.
void DragThrough(QWidget* control, const std::vector<QPoint>& points);
void ClickAt(QWidget* control, QPoint at);
// The points of a wavy stroke from `from` to `to`, one every two pixels.
std::vector<QPoint> WavyStroke(QPoint from, QPoint to, int amplitude);
