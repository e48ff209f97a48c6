// BMP files: the writer's exact bytes, every reader variant, the error texts, the size limits
// and the replace that keeps the old file when a write fails.
#include "raster/Bmp.h"
#include "raster/Errors.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/Files.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <utility>
#include <vector>

namespace fs = std::filesystem;
using namespace test_support;
using Bytes = ByteStore;

namespace {

std::uint32_t U32At(const Bytes& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
           (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

void Put16(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

// Builds BMP files of any variant the reader must accept, byte by byte.
struct BmpBuilder {
    std::int32_t Width = 1;
    std::int32_t Height = 1;
    std::uint16_t Bits = 24;
    std::uint32_t Compression = 0;
    std::uint32_t HeaderSize = 40;
    std::uint32_t ClrUsed = 0;
    std::uint32_t SizeImage = 0;
    std::uint16_t Planes = 1;
    std::vector<std::uint32_t> Palette; // 0x00RRGGBB entries written as blue, green, red
    std::vector<std::uint32_t> Masks;   // written after a 40-byte header, or inside a larger one
    Bytes Pixels;

    Bytes Build() const {
        Bytes b{'B', 'M'};
        Put32(b, 0);
        Put32(b, 0);
        Put32(b, 0);
        Put32(b, HeaderSize);
        if (HeaderSize == 12) {
            Put16(b, static_cast<std::uint32_t>(Width));
            Put16(b, static_cast<std::uint32_t>(Height));
            Put16(b, Planes);
            Put16(b, Bits);
        } else {
            Put32(b, static_cast<std::uint32_t>(Width));
            Put32(b, static_cast<std::uint32_t>(Height));
            Put16(b, Planes);
            Put16(b, Bits);
            Put32(b, Compression);
            Put32(b, SizeImage);
            Put32(b, 0);
            Put32(b, 0);
            Put32(b, ClrUsed);
            Put32(b, 0);
            std::size_t extra = HeaderSize - 40;
            for (std::size_t i = 0; i < extra / 4; ++i) {
                Put32(b, i < Masks.size() && HeaderSize > 40 ? Masks[i] : 0);
            }
            if (HeaderSize == 40) {
                for (auto m : Masks) {
                    Put32(b, m);
                }
            }
        }
        for (auto c : Palette) {
            b.push_back(static_cast<std::uint8_t>(c));
            b.push_back(static_cast<std::uint8_t>(c >> 8));
            b.push_back(static_cast<std::uint8_t>(c >> 16));
            if (HeaderSize != 12) {
                b.push_back(0);
            }
        }
        b.insert(b.end(), Pixels.begin(), Pixels.end());
        return b;
    }
};

TBitmap Decode(const Bytes& b) {
    return DecodeBmp(b.data(), b.size());
}

} // namespace

TEST(BmpWriter, OneByOneColourSurfaceIsThe58ByteFile) {
    TBitmap bitmap(1, 1);
    bitmap.SetPixel(0, 0, RGB(0x11, 0x22, 0x33));
    Bytes b = EncodeBmp(bitmap);
    ASSERT_EQ(b.size(), 58u);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(U32At(b, 2), 58u);
    EXPECT_EQ(U32At(b, 6), 0u);
    EXPECT_EQ(U32At(b, 10), 54u);
    EXPECT_EQ(U32At(b, 14), 40u);
    EXPECT_EQ(U32At(b, 18), 1u);
    EXPECT_EQ(U32At(b, 22), 1u);
    EXPECT_EQ(b[26] | (b[27] << 8), 1);
    EXPECT_EQ(b[28] | (b[29] << 8), 24);
    EXPECT_EQ(U32At(b, 30), 0u);
    EXPECT_EQ(U32At(b, 34), 4u);
    EXPECT_EQ(U32At(b, 38), 0u);
    EXPECT_EQ(U32At(b, 42), 0u);
    EXPECT_EQ(U32At(b, 46), 0u);
    EXPECT_EQ(U32At(b, 50), 0u);
    EXPECT_EQ((Bytes{b.begin() + 54, b.end()}), (Bytes{0x33, 0x22, 0x11, 0x00}));
}

TEST(BmpWriter, ThreeByTwoMonochromeSurfaceIsThe70ByteFile) {
    TBitmap mask;
    mask.SetMonochrome(true);
    mask.SetSize(3, 2);
    mask.SetPixel(1, 0, clBlack); // top row: white, black, white
    mask.SetPixel(0, 1, clBlack); // bottom row: black, white, white
    Bytes b = EncodeBmp(mask);
    ASSERT_EQ(b.size(), 70u);
    EXPECT_EQ(U32At(b, 2), 70u);
    EXPECT_EQ(U32At(b, 10), 62u);
    EXPECT_EQ(b[28], 1);
    EXPECT_EQ(U32At(b, 34), 8u);
    EXPECT_EQ(U32At(b, 46), 2u);
    EXPECT_EQ((Bytes{b.begin() + 54, b.begin() + 62}), (Bytes{0, 0, 0, 0, 255, 255, 255, 0}));
    // Bottom row first; the leftmost pixel is the top bit; set bits are white.
    EXPECT_EQ((Bytes{b.begin() + 62, b.end()}), (Bytes{0x60, 0, 0, 0, 0xA0, 0, 0, 0}));
}

TEST(BmpWriter, OddWidthsArePaddedToFourBytesBottomRowFirst) {
    for (int width : {2, 3, 5, 7, 13}) {
        TBitmap bitmap(width, 3);
        bitmap.SetPixel(width - 1, 0, RGB(1, 2, 3)); // top-right
        Bytes b = EncodeBmp(bitmap);
        std::size_t row = (24 * width + 31) / 32 * 4;
        ASSERT_EQ(b.size(), 54 + row * 3) << width;
        std::size_t topRow = 54 + row * 2;
        EXPECT_EQ(b[topRow + 3 * (width - 1)], 3);
        EXPECT_EQ(b[topRow + 3 * (width - 1) + 2], 1);
        for (std::size_t pad = 3 * width; pad < row; ++pad) {
            EXPECT_EQ(b[topRow + pad], 0) << width;
        }
    }
}

TEST(BmpWriter, SurfaceWithoutPixelsGivesAnEmptyFileAndEmptyFileReadsBackEmpty) {
    ScratchFolder dir;
    std::string path = dir.Path("empty.bmp");
    WriteBmpFile(TBitmap(), path);
    EXPECT_EQ(fs::file_size(path), 0u);
    TBitmap loaded(3, 3);
    loaded.LoadFromFile(path);
    EXPECT_TRUE(loaded.Empty());
}

TEST(BmpRoundTrip, WrittenFilesReadBackPixelForPixel) {
    TBitmap bitmap(37, 11);
    for (int y = 0; y < 11; ++y) {
        for (int x = 0; x < 37; ++x) {
            bitmap.SetPixel(x, y, RGB(x * 7, y * 23, (x * y) & 0xFF));
        }
    }
    ScratchFolder dir;
    bitmap.SaveToFile(dir.Path("a.bmp"));
    TBitmap loaded;
    loaded.LoadFromFile(dir.Path("a.bmp"));
    ASSERT_EQ(loaded.Width(), 37);
    ASSERT_EQ(loaded.Height(), 11);
    for (int y = 0; y < 11; ++y) {
        for (int x = 0; x < 37; ++x) {
            ASSERT_EQ(loaded.Pixel(x, y), bitmap.Pixel(x, y));
        }
    }
    EXPECT_EQ(EncodeBmp(loaded), EncodeBmp(bitmap));
}

TEST(BmpReader, PalettedDepthsReadThroughTheColourTable) {
    BmpBuilder eight;
    eight.Width = 3;
    eight.Bits = 8;
    eight.ClrUsed = 3;
    eight.Palette = {0xFF0000, 0x00FF00, 0x0000FF};
    eight.Pixels = {2, 0, 1, 0};
    TBitmap b8 = Decode(eight.Build());
    EXPECT_EQ(b8.Pixel(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(b8.Pixel(1, 0), RGB(255, 0, 0));
    EXPECT_EQ(b8.Pixel(2, 0), RGB(0, 255, 0));

    BmpBuilder four = eight;
    four.Bits = 4;
    four.Pixels = {0x21, 0x00, 0, 0};
    TBitmap b4 = Decode(four.Build());
    EXPECT_EQ(b4.Pixel(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(b4.Pixel(1, 0), RGB(0, 255, 0));
    EXPECT_EQ(b4.Pixel(2, 0), RGB(255, 0, 0));

    BmpBuilder one;
    one.Width = 10;
    one.Bits = 1;
    one.Palette = {0x102030, 0xA0B0C0}; // biClrUsed 0: two entries for one bit
    one.Pixels = {0x80, 0x40, 0, 0};
    TBitmap b1 = Decode(one.Build());
    EXPECT_EQ(b1.Pixel(0, 0), RGB(0xA0, 0xB0, 0xC0));
    EXPECT_EQ(b1.Pixel(1, 0), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(b1.Pixel(9, 0), RGB(0xA0, 0xB0, 0xC0));
}

TEST(BmpReader, IndicesBeyondTheColourTableReadAsBlack) {
    BmpBuilder b;
    b.Width = 2;
    b.Bits = 8;
    b.ClrUsed = 1;
    b.Palette = {0xFFFFFF};
    b.Pixels = {0, 200, 0, 0};
    TBitmap bitmap = Decode(b.Build());
    EXPECT_EQ(bitmap.Pixel(0, 0), clWhite);
    EXPECT_EQ(bitmap.Pixel(1, 0), clBlack);
}

TEST(BmpReader, CoreHeaderWithThreeByteTableEntries) {
    BmpBuilder b;
    b.HeaderSize = 12;
    b.Width = 2;
    b.Height = 2;
    b.Bits = 8;
    b.Palette.assign(256, 0);
    b.Palette[5] = 0x123456;
    b.Pixels = {5, 0, 0, 0, 0, 5, 0, 0}; // bottom row then top row
    TBitmap bitmap = Decode(b.Build());
    EXPECT_EQ(bitmap.Pixel(0, 1), RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(bitmap.Pixel(1, 0), RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(bitmap.Pixel(0, 0), clBlack);
}

TEST(BmpReader, DirectColourDepthsAndBitFields) {
    BmpBuilder b32;
    b32.Bits = 32;
    b32.Pixels = {0x33, 0x22, 0x11, 0x99};
    EXPECT_EQ(Decode(b32.Build()).Pixel(0, 0), RGB(0x11, 0x22, 0x33));

    BmpBuilder b16; // default 5-5-5
    b16.Bits = 16;
    b16.Pixels = {0x1F, 0x7C, 0, 0}; // red 31, green 0, blue 31
    EXPECT_EQ(Decode(b16.Build()).Pixel(0, 0), RGB(255, 0, 255));

    BmpBuilder fields = b16; // 5-6-5 masks after the 40-byte header
    fields.Compression = 3;
    fields.Masks = {0xF800, 0x07E0, 0x001F};
    fields.Pixels = {0xE0, 0x07, 0, 0}; // green all ones
    EXPECT_EQ(Decode(fields.Build()).Pixel(0, 0), RGB(0, 255, 0));

    for (std::uint32_t header : {108u, 124u}) {
        BmpBuilder v = b32; // masks inside the larger header
        v.HeaderSize = header;
        v.Compression = 3;
        v.Masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
        v.Pixels = {0x11, 0x22, 0x33, 0};
        EXPECT_EQ(Decode(v.Build()).Pixel(0, 0), RGB(0x11, 0x22, 0x33)) << header;
    }
}

TEST(BmpReader, TopDownRowsLoadTheRightWayUp) {
    BmpBuilder b;
    b.Height = -2;
    b.Pixels = {0, 0, 255, 0, 255, 0, 0, 0}; // first stored row is the top: red
    TBitmap bitmap = Decode(b.Build());
    EXPECT_EQ(bitmap.Pixel(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(bitmap.Pixel(0, 1), RGB(0, 0, 255));
}

TEST(BmpReader, RunLengthEightWithEveryEscape) {
    BmpBuilder b;
    b.Width = 4;
    b.Height = 3;
    b.Bits = 8;
    b.Compression = 1;
    b.ClrUsed = 3;
    b.Palette = {0x000000, 0xFF0000, 0x0000FF};
    b.Pixels = {
        3, 1, 0, 0,       // bottom row: three red, end of line
        0, 3, 2, 1, 2, 0, // absolute run of three: blue red blue, padded
        0, 0,             // end of line
        0, 2, 1, 0,       // delta one right
        9, 2,             // a run of nine that passes the row's end is clipped
        0, 1,             // end of bitmap
    };
    TBitmap bitmap = Decode(b.Build());
    EXPECT_EQ(bitmap.Pixel(0, 2), RGB(255, 0, 0));
    EXPECT_EQ(bitmap.Pixel(2, 2), RGB(255, 0, 0));
    EXPECT_EQ(bitmap.Pixel(3, 2), clBlack);
    EXPECT_EQ(bitmap.Pixel(0, 1), RGB(0, 0, 255));
    EXPECT_EQ(bitmap.Pixel(1, 1), RGB(255, 0, 0));
    EXPECT_EQ(bitmap.Pixel(2, 1), RGB(0, 0, 255));
    EXPECT_EQ(bitmap.Pixel(0, 0), clBlack) << "skipped by the delta";
    EXPECT_EQ(bitmap.Pixel(1, 0), RGB(0, 0, 255));
    EXPECT_EQ(bitmap.Pixel(3, 0), RGB(0, 0, 255));
}

TEST(BmpReader, RunLengthFourAndRunsPastThePicture) {
    BmpBuilder b;
    b.Width = 3;
    b.Height = 1;
    b.Bits = 4;
    b.Compression = 2;
    b.ClrUsed = 2;
    b.Palette = {0x000000, 0xFFFFFF};
    b.Pixels = {3, 0x10, 0, 2, 0, 200, 0, 0, 255, 1}; // white black white; a delta far away
    TBitmap bitmap = Decode(b.Build());
    EXPECT_EQ(bitmap.Pixel(0, 0), clWhite);
    EXPECT_EQ(bitmap.Pixel(1, 0), clBlack);
    EXPECT_EQ(bitmap.Pixel(2, 0), clWhite);

    BmpBuilder absolute = b; // an absolute run longer than the row and the data
    absolute.Pixels = {0, 250, 0x11, 0x11};
    TBitmap clipped = Decode(absolute.Build());
    EXPECT_EQ(clipped.Pixel(0, 0), clWhite);
    EXPECT_EQ(clipped.Pixel(2, 0), clWhite);
}

// Millions of deltas along one row (67 MB, as a crafted file could hold) carry the column by
// 2^32 - 1 in all: the runs after them land past the row's end and are dropped, wherever a column
// counted without that bound would have wrapped to (one pixel before the row: in front of the
// picture when it is stored top-down, on the row above when bottom-up). The next row decodes
// from its start again.
TEST(BmpReader, RunLengthColumnStaysWithinItsRowWhateverTheDeltas) {
    struct Case {
        const char* name;
        std::uint32_t compression;
        bool topDown;
        bool absoluteRun; // the run after the deltas: absolute, else encoded
    };
    const Case cases[] = {
        {"RLE8 top-down, encoded run", 1, true, false},
        {"RLE8 bottom-up, encoded run", 1, false, false},
        {"RLE8 bottom-up, absolute run", 1, false, true},
        {"RLE4 top-down, absolute run", 2, true, true},
        {"RLE4 bottom-up, encoded run", 2, false, false},
    };
    constexpr int kSide = 16;
    // 2^32 - 2 in deltas of at most 255: after one pixel the column would reach 2^32 - 1.
    Bytes deltas;
    std::uint64_t left = 0xFFFFFFFFu - 1;
    deltas.resize(static_cast<std::size_t>((left + 254) / 255 * 4));
    for (std::uint8_t* record = deltas.data(); left > 0; record += 4) {
        const auto step = static_cast<std::uint8_t>(std::min<std::uint64_t>(left, 255));
        record[0] = 0;
        record[1] = 2;
        record[2] = step;
        record[3] = 0;
        left -= step;
    }
    ASSERT_GT(deltas.size(), std::size_t{64} << 20);
    for (const Case& c : cases) {
        const bool four = c.compression == 2;
        const std::uint8_t white = four ? 0x11 : 0x01; // palette index 1, twice for RLE4
        BmpBuilder b;
        b.Width = kSide;
        b.Height = c.topDown ? -kSide : kSide;
        b.Bits = four ? 4 : 8;
        b.Compression = c.compression;
        b.ClrUsed = 2;
        b.Palette = {0x000000, 0xFFFFFF};
        Bytes file = b.Build();
        file.reserve(file.size() + deltas.size() + 16);
        file.insert(file.end(), {1, white}); // one pixel: the column is 1
        file.insert(file.end(), deltas.begin(), deltas.end());
        if (c.absoluteRun && four) {
            file.insert(file.end(), {0, 3, white, white}); // three pixels in two bytes
        } else if (c.absoluteRun) {
            file.insert(file.end(), {0, 3, white, white, white, 0}); // padded to two bytes
        } else {
            file.insert(file.end(), {2, white});
        }
        file.insert(file.end(), {0, 0, 1, white, 0, 1}); // next row: one pixel; end of bitmap

        const TBitmap bitmap = Decode(file);
        file = Bytes();
        std::vector<std::pair<int, int>> written;
        for (int y = 0; y < bitmap.Height(); ++y) {
            for (int x = 0; x < bitmap.Width(); ++x) {
                if (bitmap.Pixel(x, y) != clBlack) {
                    written.emplace_back(x, y);
                }
            }
        }
        const int first = c.topDown ? 0 : kSide - 1;
        const int second = c.topDown ? 1 : kSide - 2;
        EXPECT_EQ(written, (std::vector<std::pair<int, int>>{{0, std::min(first, second)},
                                                             {0, std::max(first, second)}}))
            << c.name;
    }
}

TEST(BmpReader, MissingPixelDataReadsAsZero) {
    BmpBuilder b;
    b.Width = 2;
    b.Height = 2;
    b.Pixels = {0xFF, 0xFF, 0xFF}; // only the bottom row's first pixel
    TBitmap bitmap = Decode(b.Build());
    EXPECT_EQ(bitmap.Pixel(0, 1), clWhite);
    EXPECT_EQ(bitmap.Pixel(1, 1), clBlack);
    EXPECT_EQ(bitmap.Pixel(0, 0), clBlack);
}

TEST(BmpReader, FailuresCarryTheSystemsMessages) {
    const std::string invalid = "ﾋﾞｯﾄﾏｯﾌﾟｲﾒｰｼﾞが不正です";
    const std::string readError = "ｽﾄﾘｰﾑからの読み込みｴﾗｰ";
    EXPECT_EQ(ErrorOf([] {
                  Decode({'P', 'K', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 40, 0, 0, 0});
              }),
              invalid);
    EXPECT_EQ(ErrorOf([] {
                  Decode({'B', 'M', 0, 0});
              }),
              readError)
        << "ends inside the file header";

    BmpBuilder planes;
    planes.Planes = 2;
    planes.Pixels = {0, 0, 0, 0};
    EXPECT_EQ(ErrorOf([&] { Decode(planes.Build()); }), invalid);

    BmpBuilder table;
    table.Bits = 8;
    Bytes truncated = table.Build(); // 256 entries expected, none present
    EXPECT_EQ(ErrorOf([&] { Decode(truncated); }), readError);

    BmpBuilder masks;
    masks.Bits = 32;
    masks.Compression = 3;
    EXPECT_EQ(ErrorOf([&] { Decode(masks.Build()); }), readError) << "ends inside the masks";

    BmpBuilder depth;
    depth.Bits = 7;
    EXPECT_EQ(ErrorOf([&] { Decode(depth.Build()); }), invalid);
    BmpBuilder compression;
    compression.Compression = 4;
    EXPECT_EQ(ErrorOf([&] { Decode(compression.Build()); }), invalid);

    EXPECT_EQ(ErrorOf([] { ReadBmpFile("/nonexistent/dir/fish.bmp"); }),
              "ﾌｧｲﾙ /nonexistent/dir/fish.bmp は開けません");
    EXPECT_EQ(ErrorOf([] { ReadBmpFile("/tmp"); }), "ﾌｧｲﾙ /tmp は開けません");
}

TEST(BmpReader, GiantHeadersAreRefusedBeforeAllocating) {
    const std::string invalid = "ﾋﾞｯﾄﾏｯﾌﾟｲﾒｰｼﾞが不正です";
    for (auto [w, h] :
         {std::pair{70000, 1}, {1, -70000}, {20000, 20000}, {-5, 5}, {65535, 65535}}) {
        BmpBuilder b;
        b.Width = w;
        b.Height = h;
        EXPECT_EQ(ErrorOf([&] { Decode(b.Build()); }), invalid) << w << " x " << h;
    }
    BmpBuilder widest; // the widest picture allowed loads, its missing rows zero-filled
    widest.Width = 65535;
    widest.Height = 2;
    widest.Bits = 32;
    EXPECT_EQ(Decode(widest.Build()).Width(), 65535);
}

TEST(BmpReader, ZeroWidthOrHeightGivesAnEmptySurface) {
    BmpBuilder b;
    b.Width = 0;
    b.Height = 5;
    EXPECT_TRUE(Decode(b.Build()).Empty());
}

TEST(BmpFiles, LoadStartsAgainWithTheDefaultDrawingState) {
    ScratchFolder dir;
    WriteBmpFile(TBitmap(3, 1), dir.Path("a.bmp"));
    TBitmap bitmap;
    bitmap.Canvas().Brush.Color = clBlack;
    bitmap.Canvas().CopyMode = cmSrcAnd;
    bitmap.LoadFromFile(dir.Path("a.bmp"));
    EXPECT_EQ(bitmap.Canvas().Brush.Color, clWhite);
    EXPECT_EQ(bitmap.Canvas().CopyMode, cmSrcCopy);
    bitmap.SetWidth(4);
    EXPECT_EQ(bitmap.Pixel(3, 0), clWhite);
}

TEST(BmpFiles, FailedLoadKeepsThePreviousContent) {
    ScratchFolder dir;
    WriteText(dir.Path("bad.bmp"), std::string(60, 'X'));
    TBitmap bitmap(2, 2);
    EXPECT_THROW(bitmap.LoadFromFile(dir.Path("bad.bmp")), EInvalidGraphic);
    EXPECT_EQ(bitmap.Width(), 2);
}

TEST(BmpAtomicWrite, CreateErrorsForFoldersAndMissingFoldersKeepEverything) {
    ScratchFolder dir;
    fs::create_directory(dir.Path("x.bmp"));
    EXPECT_EQ(ErrorOf([&] { WriteBmpFile(TBitmap(1, 1), dir.Path("x.bmp")); }),
              "ﾌｧｲﾙ " + dir.Path("x.bmp") + " を作成できません");
    EXPECT_TRUE(fs::is_directory(dir.Path("x.bmp")));
    std::string missing = dir.Path("no/such/f.bmp");
    EXPECT_EQ(ErrorOf([&] { WriteBmpFile(TBitmap(1, 1), missing); }),
              "ﾌｧｲﾙ " + missing + " を作成できません");
    EXPECT_EQ(FolderSnapshot(dir.Root()).size(), 1u);
}
