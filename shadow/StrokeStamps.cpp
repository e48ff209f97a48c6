// The stamps of one pointer move: one at 100% and above, evenly spaced ones below.
#include "shadow/StrokeStamps.h"

#include "raster/ViewZoom.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

std::vector<StampPoint> StrokeStamps(StampPoint from, StampPoint to, int zoomPercent,
                                     bool fromPress) {
    const int dx = to.X - from.X;
    const int dy = to.Y - from.Y;
    // Distances along the longer axis, as the stamps' squares touch along it.
    const int pictureSteps = std::max(std::abs(dx), std::abs(dy));
    if (zoomPercent >= kNoZoom) {
        return {to};
    }
    if (pictureSteps <= 1) {
        return fromPress && pictureSteps == 1 ? std::vector<StampPoint>{from, to}
                                              : std::vector<StampPoint>{to};
    }
    const int screenSteps = std::max(1, ScreenLength(pictureSteps, zoomPercent));
    const int count = (pictureSteps + screenSteps - 1) / screenSteps;
    std::vector<StampPoint> stamps;
    stamps.reserve(static_cast<std::size_t>(count) + 1);
    if (fromPress) {
        stamps.push_back(from);
    }
    for (int i = 1; i < count; ++i) {
        const double t = static_cast<double>(i) / count;
        stamps.push_back({from.X + static_cast<int>(std::lround(dx * t)),
                          from.Y + static_cast<int>(std::lround(dy * t))});
    }
    stamps.push_back(to);
    return stamps;
}
