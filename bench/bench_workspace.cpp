// The fish workspace's interactive work: one soft-pen paint step with the widest pen (a fast
// drag must never lag: target under 0.2 ms) and one animation preview activation's pixel work
// (composing the sheet and building both frames) for a 1024 x 1024 picture.
#include "fish/PreviewFrames.h"
#include "fish/SheetComposer.h"
#include "shadow/PenStamp.h"
#include "shadow/ShadowPaint.h"

#include <benchmark/benchmark.h>

#include <random>

namespace {

constexpr int kPictureSide = 1024;

void BM_PaintStepWidestPen(benchmark::State& state) {
    // The pen settings window's client area with the widest, darkest pen.
    TBitmap area(126, 204);
    DrawPenStamp(area.Canvas(), PenSettings{kPenWidthMax, kPenWidthMax - 1, kDensityMax});
    TBitmap shadow(kPictureSide, kPictureSide);
    TBitmap view(kPictureSide, kPictureSide);
    int x = 100;
    for (auto _ : state) {
        // A drag: each step one pixel on from the last.
        PaintShadowStep(area.Canvas(), kPenWidthMax, x, 300, shadow, view);
        x = x < kPictureSide - 100 ? x + 1 : 100;
        benchmark::DoNotOptimize(view.Row(300));
    }
    state.SetItemsProcessed(state.iterations() * 49 * 49);
}
BENCHMARK(BM_PaintStepWidestPen)->Unit(benchmark::kMicrosecond);

void BM_PreviewActivation1024(benchmark::State& state) {
    TBitmap picture(kPictureSide, kPictureSide);
    std::mt19937 random(5);
    for (int y = kPictureSide / 8; y < kPictureSide * 7 / 8; ++y) {
        std::uint32_t* row = picture.MutableRow(y);
        for (int x = kPictureSide / 10; x < kPictureSide * 9 / 10; ++x) {
            row[x] = random() & 0xFFFFFE;
        }
    }
    const TBitmap shadow(kPictureSide, kPictureSide);
    TBitmap sheet;
    TBitmap preview;
    for (auto _ : state) {
        ComposeFishSheet(picture, clWhite, shadow, shadow, 1, sheet);
        BuildPreviewFrames(sheet, preview);
        benchmark::DoNotOptimize(preview.Row(0));
    }
    state.SetItemsProcessed(state.iterations() * kPictureSide * kPictureSide);
}
BENCHMARK(BM_PreviewActivation1024)->Unit(benchmark::kMillisecond);

} // namespace
