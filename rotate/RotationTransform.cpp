// The fixed-point rotation of one sheet quadrant into its up and down copies.
#include "rotate/RotationTransform.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

int RealToInt(float value) {
    if (!(value > static_cast<float>(std::numeric_limits<int>::min()))) {
        return std::isnan(value) ? 0 : std::numeric_limits<int>::min();
    }
    if (value >= 2147483648.0f) {
        return std::numeric_limits<int>::max();
    }
    return static_cast<int>(value);
}

RotationFactors QuantisedFactors(int angle) {
    const float theta = static_cast<float>(angle * 3.1416 * (1.0 / 180));
    const double radians = theta;
    RotationFactors factors;
    factors.S = RealToInt(static_cast<float>(std::sin(radians) * 1024));
    factors.C = RealToInt(static_cast<float>(std::cos(radians) * 1024));
    return factors;
}

int OutputSide(int w2, int h2) {
    const std::int64_t squares =
        static_cast<std::int64_t>(w2) * w2 + static_cast<std::int64_t>(h2) * h2;
    const float sum = static_cast<float>(squares);
    return RealToInt(static_cast<float>(std::sqrt(static_cast<double>(sum)) + 1.0));
}

TColor QuadrantFill(int quadrant) {
    return quadrant == 0 ? clBlack : clWhite;
}

namespace {

// v / 1024 truncated toward zero: negative values are biased by 1023 before the shift.
inline std::int32_t Div1024(std::int32_t v) {
    return (v + ((v >> 31) & 1023)) >> 10;
}

// The first i in [0, n) for which the monotone predicate holds (false ... false true ... true),
// or n when it never does.
template <typename Predicate> int FirstWhere(int n, Predicate holds) {
    int low = 0;
    int high = n;
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (holds(middle)) {
            high = middle;
        } else {
            low = middle + 1;
        }
    }
    return low;
}

struct Span {
    int First = 0;
    int Last = 0; // exclusive
};

// The outputs i in [0, n) whose quotient q(i) = (v0 + dv * i) / 1024 lies in [lo, hi]. The
// quotient is monotone in i, so they form one run.
Span QuotientSpan(std::int64_t v0, std::int64_t dv, int n, int lo, int hi) {
    if (lo > hi || n <= 0) {
        return {};
    }
    auto q = [&](int i) { return Div1024(static_cast<std::int32_t>(v0 + dv * i)); };
    if (dv == 0) {
        const int value = q(0);
        return value >= lo && value <= hi ? Span{0, n} : Span{};
    }
    if (dv > 0) {
        return {FirstWhere(n, [&](int i) { return q(i) >= lo; }),
                FirstWhere(n, [&](int i) { return q(i) > hi; })};
    }
    return {FirstWhere(n, [&](int i) { return q(i) <= hi; }),
            FirstWhere(n, [&](int i) { return q(i) < lo; })};
}

Span Intersect(Span a, Span b) {
    Span both{std::max(a.First, b.First), std::min(a.Last, b.Last)};
    if (both.First >= both.Last) {
        return {};
    }
    return both;
}

// The source point of output i on one output row is the quadrant centre plus
// ((x0 + dx * i) / 1024, (y0 + dy * i) / 1024).
struct RowWalk {
    std::int64_t X0;
    std::int64_t DX;
    std::int64_t Y0;
    std::int64_t DY;
};

struct QuadrantView {
    const std::uint32_t* Centre; // the source pixel at the centre of rotation
    std::ptrdiff_t Stride;
    int LowX, HighX, LowY, HighY; // quotients that stay inside the quadrant
};

void WriteRow(std::uint32_t* out, int side, const RowWalk& walk, const QuadrantView& quadrant,
              TColor fill) {
    const Span inside =
        Intersect(QuotientSpan(walk.X0, walk.DX, side, quadrant.LowX, quadrant.HighX),
                  QuotientSpan(walk.Y0, walk.DY, side, quadrant.LowY, quadrant.HighY));
    std::fill(out, out + inside.First, fill);
    std::int32_t x = static_cast<std::int32_t>(walk.X0 + walk.DX * inside.First);
    std::int32_t y = static_cast<std::int32_t>(walk.Y0 + walk.DY * inside.First);
    const std::int32_t dx = static_cast<std::int32_t>(walk.DX);
    const std::int32_t dy = static_cast<std::int32_t>(walk.DY);
    const std::uint32_t* centre = quadrant.Centre;
    const std::ptrdiff_t stride = quadrant.Stride;
    for (int i = inside.First; i < inside.Last; ++i) {
        out[i] = centre[Div1024(y) * stride + Div1024(x)];
        x += dx;
        y += dy;
    }
    std::fill(out + inside.Last, out + side, fill);
}

} // namespace

void RotateQuadrant(const TBitmap& source, int angle, int quadrant, TBitmap& upBitmap,
                    TBitmap& downBitmap) {
    // Shares the pixels, so resizing an output that is also the source cannot disturb them.
    const TBitmap sheet = source;
    const int w2 = sheet.Width() / 2;
    const int h2 = sheet.Height() / 2;
    const int side = OutputSide(w2, h2);
    upBitmap.SetWidth(side);
    downBitmap.SetWidth(side);
    upBitmap.SetHeight(side);
    downBitmap.SetHeight(side);

    const RotationFactors f = QuantisedFactors(angle);
    const int x0 = (quadrant == 1 || quadrant == 3) ? w2 : 0;
    const int y0 = (quadrant == 2 || quadrant == 3) ? h2 : 0;
    const TColor fill = QuadrantFill(quadrant);
    const int cx = x0 + w2 / 2;
    const int cy = y0 + h2 / 2;

    QuadrantView view{nullptr, sheet.Width(), x0 - cx, x0 + w2 - 1 - cx, y0 - cy, y0 + h2 - 1 - cy};
    if (w2 > 0 && h2 > 0) {
        view.Centre = sheet.Row(cy) + cx;
    }

    // Output (i, j) has the offset (a, b) = (i - S/2, j - S/2) from the output centre.
    //   down: x = c*a - s*b, y = s*a + c*b      up: x = c*a + s*b, y = c*b - s*a
    // Along one output row b is fixed and a grows by one per pixel.
    const std::int64_t s = f.S;
    const std::int64_t c = f.C;
    const std::int64_t a0 = -(side / 2);
    for (int j = 0; j < side; ++j) {
        const std::int64_t b = j - side / 2;
        const RowWalk down{c * a0 - s * b, c, s * a0 + c * b, s};
        const RowWalk up{c * a0 + s * b, c, c * b - s * a0, -s};
        WriteRow(downBitmap.MutableRow(j), side, down, view, fill);
        WriteRow(upBitmap.MutableRow(j), side, up, view, fill);
    }
    downBitmap.Changed();
    upBitmap.Changed();
}
