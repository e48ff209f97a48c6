// Where the soft pen stamps for one pointer move of a stroke: the move's end, and, on a view
// shown smaller than the picture, evenly spaced points before it so the stroke stays whole.
#pragma once

#include <vector>

struct StampPoint {
    int X;
    int Y;
    bool operator==(const StampPoint&) const = default;
};

// The picture points stamped for a move from `from` to `to` (picture pixels) on a view at
// `zoomPercent`. At 100% and above: `to` alone, one stamp per move. Below: points evenly spaced
// from `from` (excluded) to `to` (included, last), no further apart in picture pixels than the
// pointer moved on screen, so a drag leaves as continuous a stroke as the same drag at 100%;
// the first move of a stroke (`fromPress`) also stamps at the press, where the path begins.
std::vector<StampPoint> StrokeStamps(StampPoint from, StampPoint to, int zoomPercent,
                                     bool fromPress);
