// Throughput of the data-file algorithms (Mpixel/s), with Qt's and OpenCV's nearest-neighbour
// rotations of the same quadrant beside the quadrant rotation.
#include "accessory/AccessoryCrop.h"
#include "fish/SheetComposer.h"
#include "rotate/RotationTransform.h"
#include "rotate/UpDownSheets.h"

#include <QImage>
#include <QTransform>

#include <opencv2/imgproc.hpp>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <random>
#include <utility>
#include <vector>

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

// A fish in the middle of the picture, its background all around: the box scans' usual case.
TBitmap CentredFish(int side) {
    TBitmap picture(side, side);
    std::mt19937 random(2);
    for (int y = side / 8; y < side * 7 / 8; ++y) {
        std::uint32_t* row = picture.MutableRow(y);
        for (int x = side / 10; x < side * 9 / 10; ++x) {
            row[x] = random() & 0xFFFFFE;
        }
    }
    return picture;
}

// The straightforward peer: four scans inward from each side, columns read down the picture.
FishBoundingBox StraightforwardBox(const TBitmap& picture, TColor background) {
    const int width = picture.Width();
    const int height = picture.Height();
    auto at = [&](int x, int y) { return picture.Row(y)[x]; };
    FishBoundingBox box;
    for (int y = 0; y < height && box.Top < 0; ++y) {
        for (int x = 0; x < width; ++x) {
            if (at(x, y) != background) {
                box.Top = y;
                break;
            }
        }
    }
    for (int y = height - 1; y >= 0 && box.Bottom < 0; --y) {
        for (int x = 0; x < width; ++x) {
            if (at(x, y) != background) {
                box.Bottom = y;
                break;
            }
        }
    }
    for (int x = 0; x < width && box.Left < 0; ++x) {
        for (int y = 0; y < height; ++y) {
            if (at(x, y) != background) {
                box.Left = x;
                break;
            }
        }
    }
    for (int x = width - 1; x >= 0 && box.Right < 0; --x) {
        for (int y = 0; y < height; ++y) {
            if (at(x, y) != background) {
                box.Right = x;
                break;
            }
        }
    }
    return box;
}

// The worst case for a scan that stops early: one fish pixel in the centre, so every row is
// read once before the box closes.
TBitmap LonePixel(int side) {
    TBitmap picture(side, side);
    picture.SetPixel(side / 2, side / 2, clBlack);
    return picture;
}

// Items are the picture's pixels, whatever share of them a scan needs to read. Argument 0: a
// centred fish; 1: a lone pixel.
void BM_FishBoxScan(benchmark::State& state) {
    const TBitmap picture = state.range(0) == 0 ? CentredFish(kSide) : LonePixel(kSide);
    for (auto _ : state) {
        benchmark::DoNotOptimize(FindFishBox(picture, clWhite));
    }
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}
BENCHMARK(BM_FishBoxScan)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_StraightforwardBoxScan(benchmark::State& state) {
    const TBitmap picture = state.range(0) == 0 ? CentredFish(kSide) : LonePixel(kSide);
    if (!(StraightforwardBox(picture, clWhite) == FindFishBox(picture, clWhite))) {
        state.SkipWithError("the two scans disagree");
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(StraightforwardBox(picture, clWhite));
    }
    state.SetItemsProcessed(state.iterations() * kSide * kSide);
}
BENCHMARK(BM_StraightforwardBoxScan)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

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

// The rotation benchmarks take the quadrant's side as their argument (a sheet twice as wide).
constexpr int kQuadrantSides[] = {1024, 2048, 4096};

// Each sheet is made when a benchmark first asks for it and kept for the others.
const TBitmap& SheetWithQuadrant(int side) {
    static std::map<int, TBitmap> sheets;
    auto found = sheets.find(side);
    if (found == sheets.end()) {
        found = sheets.emplace(side, SheetOf(FishPicture(side))).first;
    }
    return found->second;
}

// The sheet's top-left quadrant as 32-bit pixels, for the peers.
std::vector<std::uint32_t> QuadrantPixels(const TBitmap& sheet) {
    const int w2 = sheet.Width() / 2;
    const int h2 = sheet.Height() / 2;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w2) * h2);
    for (int y = 0; y < h2; ++y) {
        std::copy(sheet.Row(y), sheet.Row(y) + w2,
                  pixels.data() + static_cast<std::size_t>(y) * w2);
    }
    return pixels;
}

// One call turns a quadrant both ways; items are the output pixels written (two squares of
// S x S), so the figure compares with the peers' below pixel for pixel.
// The outputs are kept from one repetition to the next, as the rotation window's working surfaces
// are from one quadrant to the next: every repetition times the turn, not a first touch of fresh
// memory (which this virtual machine makes slow and uneven).
void BM_RotateQuadrant(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const TBitmap& sheet = SheetWithQuadrant(side);
    static std::map<int, std::pair<TBitmap, TBitmap>> outputs;
    auto& [up, down] = outputs[side];
    for (auto _ : state) {
        RotateQuadrant(sheet, 30, 0, up, down);
        benchmark::DoNotOptimize(up.Row(0));
    }
    state.SetItemsProcessed(state.iterations() * 2 * up.Width() * up.Height());
}
BENCHMARK(BM_RotateQuadrant)
    ->Arg(kQuadrantSides[0])
    ->Arg(kQuadrantSides[1])
    ->Arg(kQuadrantSides[2])
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Qt's nearest-neighbour rotation of the same quadrant, one direction only; items are the
// pixels of its output (the turned quadrant's bounding box).
void BM_QtTransformedQuadrant(benchmark::State& state) {
    const TBitmap& sheet = SheetWithQuadrant(static_cast<int>(state.range(0)));
    std::vector<std::uint32_t> pixels = QuadrantPixels(sheet);
    const int side = sheet.Width() / 2;
    const QImage quadrant(reinterpret_cast<const uchar*>(pixels.data()), side, side, side * 4,
                          QImage::Format_RGB32);
    const QTransform turn = QTransform().rotate(30);
    std::int64_t outputPixels = 0;
    for (auto _ : state) {
        const QImage turned = quadrant.transformed(turn, Qt::FastTransformation);
        benchmark::DoNotOptimize(turned.constBits());
        outputPixels = std::int64_t{turned.width()} * turned.height();
    }
    state.SetItemsProcessed(state.iterations() * outputPixels);
}
BENCHMARK(BM_QtTransformedQuadrant)
    ->Arg(kQuadrantSides[0])
    ->Arg(kQuadrantSides[1])
    ->Arg(kQuadrantSides[2])
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// OpenCV's nearest-neighbour affine warp of the same quadrant into the S x S square, one
// direction only, on the threads OpenCV chooses.
void BM_OpenCvWarpAffineQuadrant(benchmark::State& state) {
    const TBitmap& sheet = SheetWithQuadrant(static_cast<int>(state.range(0)));
    std::vector<std::uint32_t> pixels = QuadrantPixels(sheet);
    const int side = sheet.Width() / 2;
    const cv::Mat quadrant(side, side, CV_8UC4, pixels.data());
    const int outputSide = OutputSide(side, side);
    cv::Mat turn = cv::getRotationMatrix2D(cv::Point2f(side / 2.0f, side / 2.0f), 30, 1.0);
    turn.at<double>(0, 2) += outputSide / 2.0 - side / 2.0;
    turn.at<double>(1, 2) += outputSide / 2.0 - side / 2.0;
    // Kept from one repetition to the next, as ours are.
    static std::map<int, cv::Mat> outputs;
    cv::Mat& turned = outputs[side];
    for (auto _ : state) {
        cv::warpAffine(quadrant, turned, turn, cv::Size(outputSide, outputSide), cv::INTER_NEAREST,
                       cv::BORDER_CONSTANT, cv::Scalar(0, 0, 0, 0));
        benchmark::DoNotOptimize(turned.data);
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t{outputSide} * outputSide);
}
BENCHMARK(BM_OpenCvWarpAffineQuadrant)
    ->Arg(kQuadrantSides[0])
    ->Arg(kQuadrantSides[1])
    ->Arg(kQuadrantSides[2])
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
