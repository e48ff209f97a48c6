// BMP decode and encode beside stb_image and stb_image_write, and the 8-bit paletted and RLE8
// decodes beside QImage's.
#include "raster/Bmp.h"

#include <QImage>
#include <benchmark/benchmark.h>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#include <stb/stb_image.h>
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include <cstdint>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, std::uint32_t v) {
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}
void Put32(Bytes& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

// The headers of a bottom-up 8-bit file with a 256-colour grey-and-tint palette.
Bytes EightBitHeaders(int side, std::uint32_t compression, std::uint32_t imageBytes,
                      std::uint32_t fileBytes) {
    Bytes b;
    b.push_back('B');
    b.push_back('M');
    Put32(b, fileBytes);
    Put32(b, 0);
    Put32(b, 14 + 40 + 1024);
    Put32(b, 40);
    Put32(b, static_cast<std::uint32_t>(side));
    Put32(b, static_cast<std::uint32_t>(side));
    Put16(b, 1);
    Put16(b, 8);
    Put32(b, compression);
    Put32(b, imageBytes);
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, 256);
    Put32(b, 0);
    for (std::uint32_t i = 0; i < 256; ++i) {
        b.push_back(static_cast<std::uint8_t>(i));
        b.push_back(static_cast<std::uint8_t>(255 - i));
        b.push_back(static_cast<std::uint8_t>(i / 2));
        b.push_back(0);
    }
    return b;
}

// Palette index of a pixel: runs of a few pixels, as drawn pictures have.
std::uint8_t IndexAt(int x, int y) {
    return static_cast<std::uint8_t>((x / 7 + y / 5) & 0xFF);
}

Bytes PalettedFile(int side) {
    const int rowBytes = (side + 3) / 4 * 4;
    const std::uint32_t imageBytes = static_cast<std::uint32_t>(rowBytes) * side;
    Bytes b = EightBitHeaders(side, 0, imageBytes, 14 + 40 + 1024 + imageBytes);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < rowBytes; ++x) {
            b.push_back(x < side ? IndexAt(x, y) : 0);
        }
    }
    return b;
}

Bytes Rle8File(int side) {
    Bytes image;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side;) {
            int run = 1;
            while (x + run < side && run < 255 && IndexAt(x + run, y) == IndexAt(x, y)) {
                ++run;
            }
            image.push_back(static_cast<std::uint8_t>(run));
            image.push_back(IndexAt(x, y));
            x += run;
        }
        image.push_back(0);
        image.push_back(y + 1 == side ? 1 : 0);
    }
    const auto imageBytes = static_cast<std::uint32_t>(image.size());
    Bytes b = EightBitHeaders(side, 1, imageBytes, 14 + 40 + 1024 + imageBytes);
    b.insert(b.end(), image.begin(), image.end());
    return b;
}

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

const ByteStore& TrueColourFile(int side) {
    static const ByteStore small = EncodeBmp(Pattern(2048));
    static const ByteStore large = EncodeBmp(Pattern(4096));
    return side == 2048 ? small : large;
}

void CountPixels(benchmark::State& state, int side) {
    state.SetItemsProcessed(state.iterations() * side * side);
}

void BM_DecodeStbImage(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const ByteStore& bytes = TrueColourFile(side);
    for (auto _ : state) {
        int w = 0, h = 0, channels = 0;
        stbi_uc* pixels = stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w,
                                                &h, &channels, 3);
        benchmark::DoNotOptimize(pixels);
        stbi_image_free(pixels);
    }
    CountPixels(state, side);
}
BENCHMARK(BM_DecodeStbImage)->Arg(2048)->Arg(4096)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EncodeStbImageWrite(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const ByteStore& file = TrueColourFile(side);
    int w = 0, h = 0, channels = 0;
    stbi_uc* pixels =
        stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &w, &h, &channels, 3);
    for (auto _ : state) {
        std::vector<std::uint8_t> out;
        out.reserve(file.size());
        stbi_write_bmp_to_func(
            [](void* context, void* data, int size) {
                auto* sink = static_cast<std::vector<std::uint8_t>*>(context);
                const auto* bytes = static_cast<const std::uint8_t*>(data);
                sink->insert(sink->end(), bytes, bytes + size);
            },
            &out, w, h, 3, pixels);
        benchmark::DoNotOptimize(out.data());
    }
    stbi_image_free(pixels);
    CountPixels(state, side);
}
BENCHMARK(BM_EncodeStbImageWrite)
    ->Arg(2048)
    ->Arg(4096)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

template <Bytes (*Make)(int)> void DecodeVelmora(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const Bytes bytes = Make(side);
    for (auto _ : state) {
        TBitmap bitmap = DecodeBmp(bytes.data(), bytes.size());
        benchmark::DoNotOptimize(bitmap.Row(0));
    }
    CountPixels(state, side);
}

template <Bytes (*Make)(int)> void DecodeQImage(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const Bytes bytes = Make(side);
    for (auto _ : state) {
        QImage image;
        image.loadFromData(bytes.data(), static_cast<int>(bytes.size()), "BMP");
        benchmark::DoNotOptimize(image.constBits());
    }
    CountPixels(state, side);
}

// QImage keeps a paletted picture as palette indices; turned into colours it holds what ours does.
void BM_DecodePalettedQImageToColours(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const Bytes bytes = PalettedFile(side);
    for (auto _ : state) {
        QImage image;
        image.loadFromData(bytes.data(), static_cast<int>(bytes.size()), "BMP");
        const QImage colours = image.convertToFormat(QImage::Format_RGB32);
        benchmark::DoNotOptimize(colours.constBits());
    }
    CountPixels(state, side);
}
BENCHMARK(BM_DecodePalettedQImageToColours)
    ->Arg(2048)
    ->Arg(4096)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_DecodePalettedVelmora(benchmark::State& state) {
    DecodeVelmora<PalettedFile>(state);
}
void BM_DecodePalettedQImage(benchmark::State& state) {
    DecodeQImage<PalettedFile>(state);
}
void BM_DecodeRle8Velmora(benchmark::State& state) {
    DecodeVelmora<Rle8File>(state);
}
void BM_DecodeRle8QImage(benchmark::State& state) {
    DecodeQImage<Rle8File>(state);
}
BENCHMARK(BM_DecodePalettedVelmora)
    ->Arg(2048)
    ->Arg(4096)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_DecodePalettedQImage)
    ->Arg(2048)
    ->Arg(4096)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_DecodeRle8Velmora)->Arg(2048)->Arg(4096)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DecodeRle8QImage)->Arg(2048)->Arg(4096)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
