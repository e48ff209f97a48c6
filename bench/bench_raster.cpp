// Raster core benchmarks: BMP decode and encode against OpenCV, QImage and memcpy, pixel access,
// halving.
#include "raster/Bmp.h"

#include <QBuffer>
#include <QImage>
#include <benchmark/benchmark.h>
#include <opencv2/imgcodecs.hpp>

#include <cstring>
#include <map>
#include <vector>

namespace {

TBitmap Pattern(int side) {
    TBitmap bitmap(side, side);
    for (int y = 0; y < side; ++y) {
        std::uint32_t* row = bitmap.MutableRow(y);
        for (int x = 0; x < side; ++x) {
            row[x] = RGB(x * 13, y * 7, (x ^ y) & 0xFF);
        }
    }
    return bitmap;
}

// The 24-bit file of the pattern at each side, made once.
const ByteStore& FileBytes(int side) {
    static std::map<int, ByteStore> files;
    ByteStore& bytes = files[side];
    if (bytes.empty()) {
        bytes = EncodeBmp(Pattern(side));
    }
    return bytes;
}

void Pixels(benchmark::State& state, int side) {
    state.SetItemsProcessed(state.iterations() * side * side);
    state.counters["Mpixel/s"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * side * side / 1e6, benchmark::Counter::kIsRate);
}

void BM_MemcpyFileBytes(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const auto& bytes = FileBytes(side);
    std::vector<std::uint8_t> copy(bytes.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), bytes.data(), bytes.size());
        benchmark::DoNotOptimize(copy.data());
    }
    Pixels(state, side);
}

void BM_DecodeVelmora(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const auto& bytes = FileBytes(side);
    for (auto _ : state) {
        TBitmap bitmap = DecodeBmp(bytes.data(), bytes.size());
        benchmark::DoNotOptimize(bitmap.Row(0));
    }
    Pixels(state, side);
}

void BM_DecodeQImage(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const auto& bytes = FileBytes(side);
    for (auto _ : state) {
        QImage image;
        image.loadFromData(bytes.data(), static_cast<int>(bytes.size()), "BMP");
        benchmark::DoNotOptimize(image.constBits());
    }
    Pixels(state, side);
}

// Into a new three-channel picture at every call, as ours makes a new surface.
void BM_DecodeOpenCv(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const auto& bytes = FileBytes(side);
    const cv::Mat file(1, static_cast<int>(bytes.size()), CV_8UC1,
                       const_cast<std::uint8_t*>(bytes.data()));
    for (auto _ : state) {
        const cv::Mat picture = cv::imdecode(file, cv::IMREAD_COLOR);
        benchmark::DoNotOptimize(picture.data);
    }
    Pixels(state, side);
}

void BM_EncodeVelmora(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const TBitmap bitmap = Pattern(side);
    for (auto _ : state) {
        auto bytes = EncodeBmp(bitmap);
        benchmark::DoNotOptimize(bytes.data());
    }
    Pixels(state, side);
}

void BM_EncodeQImage(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const auto& bytes = FileBytes(side);
    QImage image;
    image.loadFromData(bytes.data(), static_cast<int>(bytes.size()), "BMP");
    for (auto _ : state) {
        QByteArray out;
        QBuffer buffer(&out);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "BMP");
        benchmark::DoNotOptimize(out.data());
    }
    Pixels(state, side);
}

// The same pixels as ours encodes, read from the same file; a new buffer at every call, as ours.
void BM_EncodeOpenCv(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const auto& bytes = FileBytes(side);
    const cv::Mat picture = cv::imdecode(cv::Mat(1, static_cast<int>(bytes.size()), CV_8UC1,
                                                 const_cast<std::uint8_t*>(bytes.data())),
                                         cv::IMREAD_COLOR);
    for (auto _ : state) {
        std::vector<std::uint8_t> out;
        cv::imencode(".bmp", picture, out);
        benchmark::DoNotOptimize(out.data());
    }
    Pixels(state, side);
}

void BM_PixelReadWritePass(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    TBitmap bitmap = Pattern(side);
    for (auto _ : state) {
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                bitmap.SetPixel(x, y, bitmap.Pixel(x, y) ^ 0x010101);
            }
        }
        benchmark::ClobberMemory();
    }
    Pixels(state, side);
}

void BM_HalvingCopy(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const TBitmap source = Pattern(side);
    TBitmap target(side / 2, side / 2);
    for (auto _ : state) {
        target.Canvas().CopyRect(Rect(0, 0, side / 2, side / 2), source.Canvas(),
                                 Rect(0, 0, side, side));
        benchmark::ClobberMemory();
    }
    Pixels(state, side);
}

} // namespace

BENCHMARK(BM_MemcpyFileBytes)
    ->Arg(512)
    ->Arg(2048)
    ->Arg(4096)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_DecodeVelmora)
    ->Arg(512)
    ->Arg(2048)
    ->Arg(4096)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_DecodeOpenCv)
    ->Arg(512)
    ->Arg(2048)
    ->Arg(4096)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_DecodeQImage)->Arg(2048)->Arg(4096)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EncodeVelmora)
    ->Arg(512)
    ->Arg(2048)
    ->Arg(4096)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_EncodeOpenCv)
    ->Arg(512)
    ->Arg(2048)
    ->Arg(4096)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_EncodeQImage)->Arg(2048)->Arg(4096)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PixelReadWritePass)->Arg(4096)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HalvingCopy)->Arg(4096)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
