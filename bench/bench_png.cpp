// PNG decode of an RGBA picture with a transparent background beside QImage's reader of the
// same file.
#include "raster/Png.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

// A picture as paint programs save them: shapes of a few colours with soft edges on transparent
// pixels, written by Qt's own PNG writer at its default compression.
QByteArray DrawnPng(int side) {
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 40; ++i) {
        painter.setBrush(QColor::fromHsv(i * 37 % 360, 200, 230));
        painter.setPen(QPen(Qt::black, 3));
        const int size = side / 6 + (i * 53 % (side / 5));
        painter.drawEllipse((i * 211) % (side - size), (i * 97) % (side - size), size, size / 2);
    }
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

void CountPixels(benchmark::State& state, int side) {
    state.SetItemsProcessed(state.iterations() * side * side);
}

void BM_DecodePngVelmora(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const QByteArray bytes = DrawnPng(side);
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    for (auto _ : state) {
        LoadedPicture picture = DecodePng(data, static_cast<std::size_t>(bytes.size()));
        benchmark::DoNotOptimize(picture.Bitmap.Row(0));
    }
    CountPixels(state, side);
    state.counters["file_bytes"] = static_cast<double>(bytes.size());
}

void BM_DecodePngQImage(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const QByteArray bytes = DrawnPng(side);
    for (auto _ : state) {
        QImage image;
        image.loadFromData(bytes, "PNG");
        benchmark::DoNotOptimize(image.constBits());
    }
    CountPixels(state, side);
}

} // namespace

BENCHMARK(BM_DecodePngVelmora)->Arg(2048)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DecodePngQImage)->Arg(2048)->Unit(benchmark::kMillisecond)->UseRealTime();
