// The view zoom: steps, screen-to-picture mapping, and the nearest-neighbour drawing of a part.
#include "raster/ViewZoom.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

int ZoomStepIn(int percent) {
    for (int step : kZoomSteps) {
        if (step > percent) {
            return step;
        }
    }
    return kZoomSteps[std::size(kZoomSteps) - 1];
}

int ZoomStepOut(int percent) {
    for (auto step = std::rbegin(kZoomSteps); step != std::rend(kZoomSteps); ++step) {
        if (*step < percent) {
            return *step;
        }
    }
    return kZoomSteps[0];
}

namespace {
int FloorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return static_cast<int>((a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q);
}
} // namespace

int PictureAt(int screen, int percent) {
    return FloorDiv(std::int64_t{screen} * kNoZoom, percent);
}

int PictureAt(double screen, int percent) {
    return static_cast<int>(std::floor(screen * kNoZoom / percent));
}

int ScreenAt(int picture, int percent) {
    // The first screen pixel s with PictureAt(s) >= picture.
    return -FloorDiv(-std::int64_t{picture} * percent, kNoZoom);
}

int ScreenLength(int length, int percent) {
    return ScreenAt(length, percent);
}

TRect ScreenRect(const TRect& picture, int percent) {
    return Rect(ScreenAt(picture.Left, percent), ScreenAt(picture.Top, percent),
                ScreenAt(picture.Right, percent), ScreenAt(picture.Bottom, percent));
}

namespace {
inline std::uint32_t ScreenPixel(std::uint32_t bgr) {
    // 0x00BBGGRR as stored to 0xFFRRGGBB as shown.
    return 0xFF000000u | ((bgr & 0xFFu) << 16) | (bgr & 0xFF00u) | ((bgr >> 16) & 0xFFu);
}
} // namespace

void RenderZoomed(const TBitmap& picture, int percent, const TRect& screen, std::uint32_t* out,
                  std::ptrdiff_t stride) {
    const TRect whole = ScreenRect(Rect(0, 0, picture.Width(), picture.Height()), percent);
    const int x0 = std::max(screen.Left, whole.Left);
    const int x1 = std::min(screen.Right, whole.Right);
    const int y0 = std::max(screen.Top, whole.Top);
    const int y1 = std::min(screen.Bottom, whole.Bottom);
    if (picture.Empty() || x0 >= x1 || y0 >= y1) {
        return;
    }
    // The picture column of every screen column, worked out once for all rows.
    std::vector<int> columns(static_cast<std::size_t>(x1 - x0));
    for (int x = x0; x < x1; ++x) {
        columns[static_cast<std::size_t>(x - x0)] = PictureAt(x, percent);
    }
    const int width = x1 - x0;
    std::uint32_t* previous = nullptr;
    int previousRow = -1;
    for (int y = y0; y < y1; ++y) {
        std::uint32_t* target = out + (y - screen.Top) * stride + (x0 - screen.Left);
        const int row = PictureAt(y, percent);
        if (row == previousRow) {
            // Enlarged: the screen rows of one picture row are alike.
            std::memcpy(target, previous, static_cast<std::size_t>(width) * sizeof(std::uint32_t));
            continue;
        }
        const std::uint32_t* source = picture.Row(row);
        if (percent == kNoZoom) {
            for (int i = 0; i < width; ++i) {
                target[i] = ScreenPixel(source[x0 + i]);
            }
        } else if (percent > kNoZoom) {
            // Each picture pixel is converted once and repeated over its run of screen pixels.
            int i = 0;
            while (i < width) {
                const int column = columns[static_cast<std::size_t>(i)];
                const std::uint32_t value = ScreenPixel(source[column]);
                const int end = std::min(width, ScreenAt(column + 1, percent) - x0);
                std::fill(target + i, target + end, value);
                i = end;
            }
        } else {
            for (int i = 0; i < width; ++i) {
                target[i] = ScreenPixel(source[columns[static_cast<std::size_t>(i)]]);
            }
        }
        previous = target;
        previousRow = row;
    }
}
