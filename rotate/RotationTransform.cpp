// The fixed-point rotation of one sheet quadrant into its up and down copies.
#include "rotate/RotationTransform.h"

#include "raster/PixelRows.h"
#include "raster/SideBySide.h"
#include "rotate/RowGather.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

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
std::int32_t Div1024(std::int32_t v) {
    return (v + ((v >> 31) & 1023)) >> 10;
}

// a / b rounded up, for b > 0.
std::int64_t CeilDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return q + (a % b > 0 ? 1 : 0);
}

// Along a walk v(i) = v0 + dv * i, the first i in [0, n] at which v(i) >= t (dv > 0), and the
// first at which v(i) <= u (dv < 0); n when there is none.
int FirstReaching(std::int64_t v0, std::int64_t dv, int n, std::int64_t t) {
    return static_cast<int>(std::clamp<std::int64_t>(CeilDiv(t - v0, dv), 0, n));
}
int FirstFallingTo(std::int64_t v0, std::int64_t dv, int n, std::int64_t u) {
    return static_cast<int>(std::clamp<std::int64_t>(CeilDiv(v0 - u, -dv), 0, n));
}

// The least v whose quotient v / 1024, truncated toward zero, is at least q.
std::int64_t LeastWithQuotient(std::int64_t q) {
    return q > 0 ? 1024 * q : 1024 * q - 1023;
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
    if (dv == 0) {
        const int value = Div1024(static_cast<std::int32_t>(v0));
        return value >= lo && value <= hi ? Span{0, n} : Span{};
    }
    const std::int64_t least = LeastWithQuotient(lo);
    const std::int64_t beyond = LeastWithQuotient(std::int64_t{hi} + 1);
    if (dv > 0) {
        return {FirstReaching(v0, dv, n, least), FirstReaching(v0, dv, n, beyond)};
    }
    return {FirstFallingTo(v0, dv, n, beyond - 1), FirstFallingTo(v0, dv, n, least - 1)};
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
    const std::uint32_t* Origin; // the quadrant's top-left pixel
    std::ptrdiff_t Stride;
    int LowX, HighX, LowY, HighY; // quotients that stay inside the quadrant
};

// The outputs [first, last) at which x0 + dx * i is negative: one run at either end.
Span NegativeSpan(std::int64_t v0, std::int64_t dv, int first, int last) {
    const std::int64_t start = v0 + dv * first;
    if (dv == 0) {
        return start < 0 ? Span{first, last} : Span{first, first};
    }
    if (dv > 0) {
        return {first, first + FirstReaching(start, dv, last - first, 0)};
    }
    return {first + FirstFallingTo(start, dv, last - first, -1), last};
}

// Copies the source pixels of outputs [first, last) where neither coordinate changes sign:
// truncating toward zero is then a shift of the coordinate plus a fixed bias (1023 below zero).
void CopySegment(std::uint32_t* out, int first, int last, const RowWalk& walk,
                 const QuadrantView& quadrant) {
    if (first >= last) {
        return;
    }
    // Shifted by whole multiples of 1024 the quotients count from the quadrant's top-left
    // corner instead of its centre, and stay non-negative.
    const std::int64_t x = walk.X0 + walk.DX * first;
    const std::int64_t y = walk.Y0 + walk.DY * first;
    SteppedWalk stepped;
    stepped.Origin = quadrant.Origin;
    stepped.Stride = quadrant.Stride;
    stepped.X =
        static_cast<std::int32_t>(x - std::int64_t{1024} * quadrant.LowX + (x < 0 ? 1023 : 0));
    stepped.Y =
        static_cast<std::int32_t>(y - std::int64_t{1024} * quadrant.LowY + (y < 0 ? 1023 : 0));
    stepped.DX = static_cast<std::int32_t>(walk.DX);
    stepped.DY = static_cast<std::int32_t>(walk.DY);
    GatherWalk(out + first, last - first, stepped);
}

// The pieces of one output row that take source pixels; the rest of the row is fill.
struct RowPlan {
    Span Pieces[3];
    int Count = 0;
};

RowPlan PlanRow(const RowWalk& walk, int side, const QuadrantView& quadrant) {
    RowPlan plan;
    const Span inside =
        Intersect(QuotientSpan(walk.X0, walk.DX, side, quadrant.LowX, quadrant.HighX),
                  QuotientSpan(walk.Y0, walk.DY, side, quadrant.LowY, quadrant.HighY));
    if (inside.First >= inside.Last) {
        return plan;
    }
    // Each coordinate is negative on one run at one end of the inside span; cutting at both
    // runs' edges leaves at most three pieces of constant signs.
    const Span negativeX = NegativeSpan(walk.X0, walk.DX, inside.First, inside.Last);
    const Span negativeY = NegativeSpan(walk.Y0, walk.DY, inside.First, inside.Last);
    int cuts[5] = {negativeX.First, negativeX.Last, negativeY.First, negativeY.Last, inside.Last};
    std::sort(cuts, cuts + 5);
    int from = inside.First;
    for (int cut : cuts) {
        if (cut > from) {
            plan.Pieces[plan.Count++] = {from, cut};
            from = cut;
        }
    }
    return plan;
}

// Each output row of the side x side square at `pixels` is written once from left to right:
// fill, the pieces that take source pixels, fill.
void WriteDirection(std::uint32_t* pixels, int side, const std::vector<RowWalk>& walks,
                    const QuadrantView& quadrant, TColor fill) {
    for (int j = 0; j < side; ++j) {
        const RowPlan plan = PlanRow(walks[j], side, quadrant);
        std::uint32_t* row = pixels + static_cast<std::ptrdiff_t>(j) * side;
        int from = 0;
        for (int k = 0; k < plan.Count; ++k) {
            FillPixels(row + from, row + plan.Pieces[k].First, fill);
            CopySegment(row, plan.Pieces[k].First, plan.Pieces[k].Last, walks[j], quadrant);
            from = plan.Pieces[k].Last;
        }
        FillPixels(row + from, row + side, fill);
    }
}

// Below this side a second thread costs more than the half of the work it takes over.
constexpr int kSideWorthASecondThread = 256;

// The two directions read the same quadrant and write separate surfaces, so they can run side
// by side; without a second thread they run one after the other.
void WriteBothDirections(TBitmap& upBitmap, TBitmap& downBitmap, int side,
                         const std::vector<RowWalk>& up, const std::vector<RowWalk>& down,
                         const QuadrantView& view, TColor fill) {
    if (side <= 0) {
        return;
    }
    // Private pixels are made here, on the calling thread; the writers only touch them.
    std::uint32_t* upPixels = upBitmap.MutableRow(0);
    std::uint32_t* downPixels = downBitmap.MutableRow(0);
    const bool separate = &upBitmap != &downBitmap;
    RunSideBySide(
        separate && side >= kSideWorthASecondThread,
        [&] { WriteDirection(upPixels, side, up, view, fill); },
        [&] { WriteDirection(downPixels, side, down, view, fill); });
    downBitmap.Changed();
    upBitmap.Changed();
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

    // The quadrant is read in place: `sheet` holds on to these pixels while the outputs are
    // written, and an output that shares them gets a copy of its own before it changes.
    const QuadrantView view{w2 > 0 && h2 > 0 ? sheet.Row(y0) + x0 : nullptr,
                            sheet.Width(),
                            x0 - cx,
                            x0 + w2 - 1 - cx,
                            y0 - cy,
                            y0 + h2 - 1 - cy};

    // Output (i, j) has the offset (a, b) = (i - S/2, j - S/2) from the output centre.
    //   down: x = c*a - s*b, y = s*a + c*b      up: x = c*a + s*b, y = c*b - s*a
    // Along one output row b is fixed and a grows by one per pixel.
    const std::int64_t s = f.S;
    const std::int64_t c = f.C;
    const std::int64_t a0 = -(side / 2);
    std::vector<RowWalk> down(static_cast<std::size_t>(side));
    std::vector<RowWalk> up(static_cast<std::size_t>(side));
    for (int j = 0; j < side; ++j) {
        const std::int64_t b = j - side / 2;
        down[j] = RowWalk{c * a0 - s * b, c, s * a0 + c * b, s};
        up[j] = RowWalk{c * a0 + s * b, c, c * b - s * a0, -s};
    }
    WriteBothDirections(upBitmap, downBitmap, side, up, down, view, fill);
}
