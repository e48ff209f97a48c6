// Row conversions: every instruction set this processor runs gives the plain loop's pixels on
// random rows of every width from 1 to 70, from any byte alignment, and writes nothing past the
// row; whole files of odd sizes decode and encode through them byte for byte.
#include "raster/Bmp.h"
#include "raster/RowConversions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

constexpr std::uint32_t kGuard = 0xDEADBEEF;
constexpr int kWidestRow = 70;

std::vector<RowConversionLevel> VectorLevels() {
    std::vector<RowConversionLevel> levels;
    for (RowConversionLevel level : {RowConversionLevel::Ssse3, RowConversionLevel::Avx2}) {
        if (level <= BestRowConversionLevel()) {
            levels.push_back(level);
        }
    }
    return levels;
}

template <class T> std::vector<T> RandomValues(std::mt19937& random, std::size_t count) {
    std::uniform_int_distribution<std::uint32_t> value;
    std::vector<T> values(count);
    for (T& v : values) {
        v = static_cast<T>(value(random));
    }
    return values;
}

// Surface pixels: a third white and a third black, as one-bit rows need, the rest any colour.
std::vector<std::uint32_t> RandomPixels(std::mt19937& random, std::size_t count) {
    std::vector<std::uint32_t> pixels = RandomValues<std::uint32_t>(random, count);
    for (std::uint32_t& p : pixels) {
        p = p % 3 == 0 ? 0x00FFFFFF : p % 3 == 1 ? 0 : p;
    }
    return pixels;
}

// The input starts `shift` elements into its buffer and ends exactly where the buffer does, so a
// read past the row's bytes is one past the allocation; the output is followed by guards.
template <class In, class Out, class Convert>
void ExpectEveryLevelMatchesPlain(const char* name, int inBits, int outBits, Convert convert) {
    std::mt19937 random(19);
    const auto count = [](int width, int bits, std::size_t size) {
        return (static_cast<std::size_t>(width) * bits + 8 * size - 1) / (8 * size);
    };
    for (int width = 1; width <= kWidestRow; ++width) {
        const std::size_t inCount = count(width, inBits, sizeof(In));
        const std::size_t outCount = count(width, outBits, sizeof(Out));
        for (int shift = 0; shift < 4; ++shift) {
            std::vector<In> in;
            if constexpr (sizeof(In) == 4) {
                in = RandomPixels(random, shift + inCount);
            } else {
                in = RandomValues<In>(random, shift + inCount);
            }
            const std::vector<std::uint32_t> table = RandomValues<std::uint32_t>(random, 256);
            std::vector<Out> expected(outCount + 4, static_cast<Out>(kGuard));
            convert(RowConverterAt(RowConversionLevel::Plain), in.data() + shift, table.data(),
                    expected.data(), width);
            for (RowConversionLevel level : VectorLevels()) {
                std::vector<Out> out(outCount + 4, static_cast<Out>(kGuard));
                convert(RowConverterAt(level), in.data() + shift, table.data(), out.data(), width);
                ASSERT_EQ(out, expected) << name << " at level " << static_cast<int>(level)
                                         << ", width " << width << ", shift " << shift;
            }
        }
    }
}

using Table = const std::uint32_t*;

TEST(RowConversions, TwentyFourBitRowsMatchThePlainLoop) {
    ExpectEveryLevelMatchesPlain<std::uint8_t, std::uint32_t>(
        "FromBgr", 24, 32,
        [](const RowConversions& c, const std::uint8_t* in, Table, std::uint32_t* out, int width) {
            c.FromBgr(in, out, width);
        });
    ExpectEveryLevelMatchesPlain<std::uint32_t, std::uint8_t>(
        "ToBgr", 32, 24,
        [](const RowConversions& c, const std::uint32_t* in, Table, std::uint8_t* out, int width) {
            c.ToBgr(in, out, width);
        });
}

TEST(RowConversions, ThirtyTwoBitRowsAndWindowImagesMatchThePlainLoop) {
    ExpectEveryLevelMatchesPlain<std::uint8_t, std::uint32_t>(
        "FromBgrx", 32, 32,
        [](const RowConversions& c, const std::uint8_t* in, Table, std::uint32_t* out, int width) {
            c.FromBgrx(in, out, width);
        });
    ExpectEveryLevelMatchesPlain<std::uint32_t, std::uint32_t>(
        "ToOpaqueArgb", 32, 32,
        [](const RowConversions& c, const std::uint32_t* in, Table, std::uint32_t* out, int width) {
            c.ToOpaqueArgb(in, out, width);
        });
}

TEST(RowConversions, ColourTableRowsMatchThePlainLoop) {
    ExpectEveryLevelMatchesPlain<std::uint32_t, std::uint8_t>(
        "ToIndex1", 32, 1,
        [](const RowConversions& c, const std::uint32_t* in, Table, std::uint8_t* out, int width) {
            c.ToIndex1(in, out, width);
        });
    ExpectEveryLevelMatchesPlain<std::uint8_t, std::uint32_t>(
        "FromIndex8", 8, 32,
        [](const RowConversions& c, const std::uint8_t* in, Table table, std::uint32_t* out,
           int width) { c.FromIndex8(in, table, out, width); });
    ExpectEveryLevelMatchesPlain<std::uint8_t, std::uint32_t>(
        "FromIndex4", 4, 32,
        [](const RowConversions& c, const std::uint8_t* in, Table table, std::uint32_t* out,
           int width) { c.FromIndex4(in, table, out, width); });
    ExpectEveryLevelMatchesPlain<std::uint8_t, std::uint32_t>(
        "FromIndex1", 1, 32,
        [](const RowConversions& c, const std::uint8_t* in, Table table, std::uint32_t* out,
           int width) { c.FromIndex1(in, table, out, width); });
}

// The plain level is the reference: pinned here against the layouts themselves.
TEST(RowConversions, ThePlainLevelSpeaksTheFileAndWindowLayouts) {
    const RowConversions& plain = RowConverterAt(RowConversionLevel::Plain);
    const std::uint8_t bgr[] = {0x30, 0x20, 0x10, 0x03, 0x02, 0x01};
    std::uint32_t pixels[2] = {};
    plain.FromBgr(bgr, pixels, 2);
    EXPECT_EQ(pixels[0], 0x00302010u); // 0x00BBGGRR
    EXPECT_EQ(pixels[1], 0x00030201u);
    std::uint8_t back[6] = {};
    plain.ToBgr(pixels, back, 2);
    EXPECT_EQ(std::vector<std::uint8_t>(back, back + 6), std::vector<std::uint8_t>(bgr, bgr + 6));
    const std::uint32_t flagged = 0x02302010;
    std::uint32_t argb = 0;
    plain.ToOpaqueArgb(&flagged, &argb, 1);
    EXPECT_EQ(argb, 0xFF102030u);
    const std::uint8_t nibbles[] = {0x1F};
    std::uint32_t table[256] = {};
    table[1] = 11;
    table[15] = 15;
    plain.FromIndex4(nibbles, table, pixels, 2);
    EXPECT_EQ(pixels[0], 11u);
    EXPECT_EQ(pixels[1], 15u);
    const std::uint32_t blackAndWhite[] = {0x00FFFFFF, 0, 0, 0, 0, 0, 0, 0, 0x00FFFFFF, 0x00FFFFFE};
    std::uint8_t bits[2] = {0xAA, 0xAA};
    plain.ToIndex1(blackAndWhite, bits, 10);
    EXPECT_EQ(bits[0], 0x80);
    EXPECT_EQ(bits[1], 0x80);
}

// ---------------------------------------------------------------------------------------------
// Whole files of odd sizes, whose rows end in every kind of tail and padding.

struct OddSize {
    int Width;
    int Height;
};
// The last is large enough to decode in two bands, on two threads.
constexpr OddSize kOddSizes[] = {{1, 1},  {3, 5},  {5, 2},   {17, 3},  {31, 4},     {33, 7},
                                 {67, 2}, {70, 3}, {101, 5}, {257, 2}, {1031, 1019}};

// The 54 header bytes: file size, reserved, pixel offset, header size, width, height, then
// one plane and the depth; everything after (no compression, sizes, counts) is 0.
std::vector<std::uint8_t> Header(int width, int height, int bits, int tableEntries) {
    const std::uint32_t fields[] = {0,
                                    0,
                                    54 + 4 * static_cast<std::uint32_t>(tableEntries),
                                    40,
                                    static_cast<std::uint32_t>(width),
                                    static_cast<std::uint32_t>(height)};
    std::vector<std::uint8_t> b{'B', 'M'};
    for (std::uint32_t v : fields) {
        for (int i = 0; i < 4; ++i) {
            b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        }
    }
    b.insert(b.end(), {1, 0, static_cast<std::uint8_t>(bits), 0});
    b.resize(54, 0);
    return b;
}

TEST(BmpRowsOfOddSizes, EveryDepthDecodesAsItsBytesSay) {
    std::mt19937 random(7);
    for (const OddSize size : kOddSizes) {
        for (int bits : {1, 4, 8, 24, 32}) {
            const int entries = bits <= 8 ? 1 << bits : 0;
            std::vector<std::uint8_t> file = Header(size.Width, size.Height, bits, entries);
            const std::vector<std::uint8_t> table = RandomValues<std::uint8_t>(random, 4 * entries);
            file.insert(file.end(), table.begin(), table.end());
            const std::size_t rowBytes =
                (static_cast<std::size_t>(size.Width) * bits + 31) / 32 * 4;
            const std::size_t pixelsAt = file.size();
            const std::vector<std::uint8_t> rows =
                RandomValues<std::uint8_t>(random, rowBytes * size.Height);
            file.insert(file.end(), rows.begin(), rows.end());

            const TBitmap bitmap = DecodeBmp(file.data(), file.size());
            ASSERT_EQ(bitmap.Width(), size.Width);
            for (int y = 0; y < size.Height; ++y) {
                const std::uint8_t* row = file.data() + pixelsAt + rowBytes * (size.Height - 1 - y);
                for (int x = 0; x < size.Width; ++x) {
                    const std::uint8_t* colour = row + (bits / 8) * x; // 24 and 32 bits
                    if (bits <= 8) {
                        const int perByte = 8 / bits;
                        const int index = (row[x / perByte] >> (8 - bits * (x % perByte + 1))) &
                                          ((1 << bits) - 1);
                        colour = table.data() + 4 * index;
                    }
                    ASSERT_EQ(bitmap.Pixel(x, y), RGB(colour[2], colour[1], colour[0]))
                        << bits << " bits, " << size.Width << " x " << size.Height << " at (" << x
                        << ", " << y << ")";
                }
            }
        }
    }
}

// Every pixel's bits as the file holds them, and every padding bit 0.
TEST(BmpRowsOfOddSizes, ColourAndOneBitFilesHoldEveryPixelAndZeroPadding) {
    std::mt19937 random(8);
    for (const OddSize size : kOddSizes) {
        for (const bool mono : {false, true}) {
            const int bits = mono ? 1 : 24;
            const std::size_t offBits = mono ? 62 : 54;
            const std::size_t rowBytes =
                (static_cast<std::size_t>(size.Width) * bits + 31) / 32 * 4;
            TBitmap bitmap;
            bitmap.SetMonochrome(mono);
            bitmap.SetSize(size.Width, size.Height);
            for (int y = 0; y < size.Height; ++y) {
                const std::vector<std::uint32_t> values = RandomPixels(random, size.Width);
                for (int x = 0; x < size.Width; ++x) {
                    bitmap.SetPixel(x, y, values[x] & 0xFFFFFF);
                }
            }
            // Memory of the file's size, dirtied and released just before, is what the encoder
            // is likely to be given: padding it does not write would show its bytes.
            { ByteStore dirty(offBits + rowBytes * size.Height, 0xA5); }
            const ByteStore file = EncodeBmp(bitmap);
            ASSERT_EQ(file.size(), offBits + rowBytes * size.Height);
            for (int y = 0; y < size.Height; ++y) {
                const std::uint8_t* row = file.data() + offBits + rowBytes * (size.Height - 1 - y);
                for (int x = 0; x < size.Width; ++x) {
                    const TColor stored =
                        mono ? ((row[x / 8] >> (7 - x % 8)) & 1 ? clWhite : clBlack)
                             : RGB(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
                    ASSERT_EQ(stored, bitmap.Pixel(x, y))
                        << bits << " bits, " << size.Width << " x " << size.Height << " at (" << x
                        << ", " << y << ")";
                }
                for (std::size_t bit = static_cast<std::size_t>(size.Width) * bits;
                     bit < 8 * rowBytes; ++bit) {
                    ASSERT_EQ((row[bit / 8] >> (7 - bit % 8)) & 1, 0)
                        << "padding of row " << y << ", " << bits << " bits, width " << size.Width;
                }
            }
        }
    }
}

} // namespace
