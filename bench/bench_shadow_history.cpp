// The shadow editor's undo history on a 2048 x 2048 picture: what recording one stroke of 500
// widest-pen steps costs beside the painting itself, and what undoing (or redoing) it costs.
// Target: each under 5 ms. The stroke runs corner to corner, so its bounding box is the whole
// picture: the worst case for keeping what a stroke changed.
#include "shadow/PenStamp.h"
#include "shadow/ShadowHistory.h"
#include "shadow/ShadowPaint.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

constexpr int kSide = 2048;
constexpr int kSteps = 500;

struct WidestStroke {
    WidestStroke()
        : area(126, 204), view1(kSide, kSide), view2(kSide, kSide), shadow1(kSide, kSide),
          shadow2(kSide, kSide) {
        DrawPenStamp(area.Canvas(), PenSettings{kPenWidthMax, kPenWidthMax - 1, kDensityMax});
        // Distinct pixel stores, as the editor's image controls hold them.
        for (TBitmap* surface : {&view1, &view2, &shadow1, &shadow2}) {
            surface->MutableRow(0);
        }
    }
    HistorySurfaces Surfaces() { return {&view1, &view2, &shadow1, &shadow2}; }
    static int At(int step) { return 24 + step * (kSide - 49) / kSteps; }
    TBitmap area, view1, view2, shadow1, shadow2;
};

using Clock = std::chrono::steady_clock;

// Paints the stroke with the history recording it; the time spent in the history's calls.
Clock::duration RecordStroke(WidestStroke& s, ShadowHistory& history) {
    auto start = Clock::now();
    history.BeginStroke(s.Surfaces());
    Clock::duration spent = Clock::now() - start;
    for (int step = 0; step <= kSteps; ++step) {
        const int p = WidestStroke::At(step);
        start = Clock::now();
        const TRect square = PaintSquare(kPenWidthMax, p, p);
        history.Touch(0, square);
        history.Touch(2, square);
        spent += Clock::now() - start;
        PaintShadowStep(s.area.Canvas(), kPenWidthMax, p, p, s.shadow1, s.view1);
    }
    start = Clock::now();
    history.EndStep();
    return spent + (Clock::now() - start);
}

// Manual time: only the history's calls are timed, not the painting between them.
void BM_RecordWidestStroke2048(benchmark::State& state) {
    WidestStroke s;
    ShadowHistory history;
    for (auto _ : state) {
        state.SetIterationTime(std::chrono::duration<double>(RecordStroke(s, history)).count());
        state.counters["kept_MiB"] = static_cast<double>(history.Bytes()) / (1 << 20);
        // White shadows again for the next repetition.
        if (!history.Undo(s.Surfaces())) {
            state.SkipWithError("the stroke was not kept");
            break;
        }
        history.Clear();
    }
}
BENCHMARK(BM_RecordWidestStroke2048)->UseManualTime()->Unit(benchmark::kMillisecond);

// Each iteration undoes the stroke or redoes it again: both exchange the same tiles.
void BM_UndoWidestStroke2048(benchmark::State& state) {
    WidestStroke s;
    ShadowHistory history;
    RecordStroke(s, history);
    if (!history.CanUndo()) {
        state.SkipWithError("the stroke was not kept");
        return;
    }
    for (auto _ : state) {
        const bool done =
            history.CanUndo() ? history.Undo(s.Surfaces()) : history.Redo(s.Surfaces());
        benchmark::DoNotOptimize(done);
        benchmark::DoNotOptimize(s.shadow1.Row(kSide / 2));
    }
}
BENCHMARK(BM_UndoWidestStroke2048)->Unit(benchmark::kMillisecond);

} // namespace
