// Throughput of the data-file algorithms (Mpixel/s), with Qt's nearest-neighbour rotation of the
// same quadrant beside the quadrant rotation.
#include "accessory/AccessoryCrop.h"
#include "fish/SheetComposer.h"
#include "rotate/RotationTransform.h"
#include "rotate/UpDownSheets.h"

#include <QImage>
#include <QTransform>

#include <benchmark/benchmark.h>

#include <random>

namespace {

constexpr int kSide = 2048;

// A fish filling most of the picture on a white background, in many colours; its four corner
// pixels make the bounding box the whole picture.
TBitmap FishPicture(int side) {
    TBitmap picture(side, side);
    std::mt19937 random(1);
    for (int y = side / 8; y < side * 7 / 8; ++y) {
        std::uint32_t* row = picture.MutableRow(y);
        for (int x = side / 10; x < side * 9 / 10; ++x) {
            row[x] = random() & 0xFFFFFE;
        }
    }
    for (int corner : {0, side - 1}) {
        picture.SetPixel(corner, 0, clBlack);
        picture.SetPixel(corner, side - 1, clBlack);
    }
    return picture;
}

TBitmap SheetOf(const TBitmap& picture) {
    TBitmap white(picture.Width(), picture.Height());
    TBitmap sheet;
    ComposeFishSheet(picture, clWhite, white, white, 1, sheet);
    return sheet;
}

void BM_ComposeFishSheet(benchmark::State& state) {
    const TBitmap picture = FishPicture(kSide);
    const TBitmap shadow(kSide, kSide);
    TBitmap sheet;
    for (auto _ : state) {
        ComposeFishSheet(picture, clWhite, shadow, shadow, 1, sheet);
        benchmark::DoNotOptimize(sheet.Row(0));
    }
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}
BENCHMARK(BM_ComposeFishSheet)->Unit(benchmark::kMillisecond);

void BM_BuildUpDownSheets(benchmark::State& state) {
    // A 2048 x 2048 sheet: four 1024 x 1024 quadrants.
    const TBitmap sheet = SheetOf(FishPicture(1024));
    TBitmap up, down;
    for (auto _ : state) {
        const UpDownSheets sheets = BuildUpDownSheets(sheet, 30, up, down);
        benchmark::DoNotOptimize(sheets.Up.Row(0));
    }
    state.SetItemsProcessed(state.iterations() * sheet.Width() * sheet.Height());
}
BENCHMARK(BM_BuildUpDownSheets)->Unit(benchmark::kMillisecond);

void BM_CropAccessory(benchmark::State& state) {
    const TBitmap picture = FishPicture(kSide);
    for (auto _ : state) {
        const AccessoryData data = CropAccessory(picture, clWhite);
        benchmark::DoNotOptimize(data.Mask.Row(0));
    }
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}
BENCHMARK(BM_CropAccessory)->Unit(benchmark::kMillisecond);

// One call turns a 1024 x 1024 quadrant both ways; items are the output pixels written (two
// squares of S x S), so the figure compares with Qt's below pixel for pixel.
void BM_RotateQuadrant(benchmark::State& state) {
    const TBitmap sheet = SheetOf(FishPicture(1024));
    TBitmap up, down;
    for (auto _ : state) {
        RotateQuadrant(sheet, 30, 0, up, down);
        benchmark::DoNotOptimize(up.Row(0));
    }
    state.SetItemsProcessed(state.iterations() * 2 * up.Width() * up.Height());
}
BENCHMARK(BM_RotateQuadrant)->Unit(benchmark::kMillisecond)->UseRealTime();

// Qt's nearest-neighbour rotation of the same 1024 x 1024 quadrant, one direction only; items
// are the pixels of its output (the turned quadrant's bounding box).
void BM_QtTransformedQuadrant(benchmark::State& state) {
    const TBitmap sheet = SheetOf(FishPicture(1024));
    QImage quadrant(1024, 1024, QImage::Format_RGB32);
    for (int y = 0; y < 1024; ++y) {
        std::copy(sheet.Row(y), sheet.Row(y) + 1024,
                  reinterpret_cast<std::uint32_t*>(quadrant.scanLine(y)));
    }
    const QTransform turn = QTransform().rotate(30);
    std::int64_t outputPixels = 0;
    for (auto _ : state) {
        const QImage turned = quadrant.transformed(turn, Qt::FastTransformation);
        benchmark::DoNotOptimize(turned.constBits());
        outputPixels = std::int64_t{turned.width()} * turned.height();
    }
    state.SetItemsProcessed(state.iterations() * outputPixels);
}
BENCHMARK(BM_QtTransformedQuadrant)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
