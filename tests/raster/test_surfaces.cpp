// Surfaces: colour values, sizing, pixel access, fills, flood fill, copies and sharing.
#include "raster/Bmp.h"
#include "raster/Errors.h"
#include "raster/TBitmap.h"

#include <gtest/gtest.h>

namespace {

int CountPixels(const TBitmap& bitmap, TColor color) {
    int count = 0;
    for (int y = 0; y < bitmap.Height(); ++y) {
        for (int x = 0; x < bitmap.Width(); ++x) {
            count += bitmap.Pixel(x, y) == color;
        }
    }
    return count;
}

} // namespace

TEST(Colour, PaletteRelativeFlagIsDroppedOnStorage) {
    TBitmap bitmap(2, 1);
    bitmap.SetPixel(0, 0, clPaletteWhite);
    bitmap.SetPixel(1, 0, PaletteGrey(183));
    EXPECT_EQ(bitmap.Pixel(0, 0), 0x00FFFFFFu);
    EXPECT_NE(bitmap.Pixel(0, 0), clPaletteWhite);
    EXPECT_EQ(bitmap.Pixel(1, 0), 0xB7B7B7u);
}

TEST(Colour, SystemColoursResolveToTheirRgb) {
    EXPECT_EQ(ResolveColor(clWindowText), clBlack);
    EXPECT_EQ(ResolveColor(clWindow), clWhite);
    EXPECT_EQ(ResolveColor(0x02123456), 0x123456u);
}

TEST(Sizing, NewSurfaceGetsWhitePixelsOnlyOnceBothSidesArePositive) {
    TBitmap bitmap;
    EXPECT_TRUE(bitmap.Empty());
    bitmap.SetWidth(3);
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(bitmap.Pixel(0, 0), kOutsidePixel);
    bitmap.SetHeight(2);
    ASSERT_FALSE(bitmap.Empty());
    EXPECT_EQ(CountPixels(bitmap, clWhite), 6);
}

TEST(Sizing, GrowingKeepsTopLeftAndFillsWithBrushShrinkingCrops) {
    TBitmap bitmap(3, 2);
    bitmap.SetPixel(0, 0, 0x010203);
    bitmap.SetPixel(2, 1, 0x0A0B0C);
    bitmap.SetWidth(5);
    EXPECT_EQ(bitmap.Pixel(0, 0), 0x010203u);
    EXPECT_EQ(bitmap.Pixel(2, 1), 0x0A0B0Cu);
    EXPECT_EQ(bitmap.Pixel(4, 1), clWhite);

    bitmap.Canvas().Brush.Color = clBlack;
    bitmap.SetHeight(3);
    EXPECT_EQ(bitmap.Pixel(4, 1), clWhite);
    EXPECT_EQ(bitmap.Pixel(0, 2), clBlack);
    EXPECT_EQ(bitmap.Pixel(4, 2), clBlack);

    bitmap.SetSize(2, 2);
    EXPECT_EQ(bitmap.Width(), 2);
    EXPECT_EQ(bitmap.Pixel(0, 0), 0x010203u);
    EXPECT_EQ(bitmap.Pixel(2, 1), kOutsidePixel);
}

TEST(Sizing, SettingTheCurrentSizeKeepsPixels) {
    TBitmap bitmap(2, 2);
    bitmap.SetPixel(1, 1, 0x123456);
    bitmap.Canvas().Brush.Color = clBlack;
    bitmap.SetSize(2, 2);
    EXPECT_EQ(bitmap.Pixel(1, 1), 0x123456u);
    EXPECT_EQ(bitmap.Pixel(0, 0), clWhite);
}

// The memory of a freed large surface may come back to the next one of its size, which must
// still start with its own brush colour and not with what the freed one held.
TEST(Sizing, ASurfaceInTheMemoryOfAFreedOneStartsWithItsOwnBrushColour) {
    const int side = 1024; // 4 MiB: a large store
    { TBitmap freed(side, side, RGB(1, 2, 3)); }
    TBitmap again;
    again.Canvas().Brush.Color = RGB(255, 0, 0);
    again.SetSize(side, side);
    EXPECT_EQ(CountPixels(again, RGB(255, 0, 0)), side * side);
}

// An uncompressed picture is decoded into a surface that is not painted first, so the decoder
// must write every pixel itself, also in memory a freed surface held.
TEST(Sizing, ADecodedPictureInTheMemoryOfAFreedOneHoldsOnlyItsOwnPixels) {
    const int side = 1024;
    TBitmap stripes(side, side);
    for (int y = 0; y < side; y += 2) {
        stripes.Canvas().Brush.Color = RGB(0, 0, 255);
        stripes.Canvas().FillRect(Rect(0, y, side, y + 1));
    }
    const ByteStore bytes = EncodeBmp(stripes);
    { TBitmap freed(side, side, RGB(9, 9, 9)); }
    const TBitmap decoded = DecodeBmp(bytes.data(), bytes.size());
    EXPECT_EQ(CountPixels(decoded, RGB(0, 0, 255)), side * side / 2);
    EXPECT_EQ(CountPixels(decoded, clWhite), side * side / 2);
}

TEST(Sizing, HugeSurfaceIsRefusedWithTheOutOfResourcesMessage) {
    TBitmap bitmap;
    bitmap.SetWidth(65536);
    try {
        bitmap.SetHeight(65536);
        FAIL() << "no error raised";
    } catch (const EOutOfResources& error) {
        EXPECT_STREQ(error.what(), "ｼｽﾃﾑ ﾘｿｰｽが足りません");
    }
    EXPECT_TRUE(bitmap.Empty());
}

TEST(PixelAccess, OutsideReadsAllOnesAndOutsideWritesChangeNothing) {
    TBitmap bitmap(2, 2);
    for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {2, 0}, {0, 2}, {-2147483647 - 1, 5}}) {
        EXPECT_EQ(bitmap.Pixel(x, y), 0xFFFFFFFFu);
        bitmap.SetPixel(x, y, clBlack);
    }
    EXPECT_EQ(CountPixels(bitmap, clWhite), 4);
}

TEST(Monochrome, SizedAfterMakingMonochromeStoresOnlyBlackAndWhite) {
    TBitmap mask;
    mask.SetMonochrome(true);
    mask.SetSize(3, 2);
    EXPECT_TRUE(mask.Monochrome());
    EXPECT_EQ(CountPixels(mask, clWhite), 6);
    mask.SetPixel(0, 0, clBlack);
    mask.SetPixel(1, 0, 0x00FFFFFF);
    mask.SetPixel(2, 0, 0x202020);
    EXPECT_EQ(mask.Pixel(0, 0), clBlack);
    EXPECT_EQ(mask.Pixel(1, 0), clWhite);
    EXPECT_EQ(mask.Pixel(2, 0), clBlack);

    TBitmap sized(1, 1);
    sized.SetMonochrome(true);
    EXPECT_FALSE(sized.Monochrome()) << "only an empty surface can become monochrome";
}

TEST(Fills, FillRectIsRightAndBottomExclusiveAndClipped) {
    TBitmap bitmap(4, 4);
    bitmap.Canvas().Brush.Color = clPaletteBlack;
    bitmap.Canvas().FillRect(Rect(1, 1, 3, 3));
    EXPECT_EQ(CountPixels(bitmap, clBlack), 4);
    EXPECT_EQ(bitmap.Pixel(1, 1), clBlack);
    EXPECT_EQ(bitmap.Pixel(3, 3), clWhite);
    bitmap.Canvas().FillRect(Rect(-5, -5, 100, 1));
    EXPECT_EQ(CountPixels(bitmap, clBlack), 8); // the whole top row and the 2 x 2 block
}

TEST(Fills, EllipseIsSymmetricInscribedAndCoversTheCentre) {
    TBitmap bitmap(50, 50);
    bitmap.Canvas().Pen.Style = TPenStyle::psClear;
    bitmap.Canvas().Brush.Color = clBlack;
    bitmap.Canvas().Ellipse(25 - 9, 25 - 9, 25 + 9, 25 + 9);
    EXPECT_EQ(bitmap.Pixel(25, 25), clBlack);
    EXPECT_EQ(bitmap.Pixel(16, 25), clBlack) << "leftmost column of the box at the middle row";
    EXPECT_EQ(bitmap.Pixel(33, 25), clBlack) << "rightmost column inside the exclusive box";
    EXPECT_EQ(bitmap.Pixel(34, 25), clWhite);
    EXPECT_EQ(bitmap.Pixel(15, 25), clWhite);
    EXPECT_EQ(bitmap.Pixel(16, 16), clWhite) << "corners of the box are outside the ellipse";
    // The box 16..34 is centred on 25, so pixel x mirrors to 49 - x and row y to 49 - y.
    for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 50; ++x) {
            ASSERT_EQ(bitmap.Pixel(x, y), bitmap.Pixel(49 - x, y)) << x << "," << y;
            ASSERT_EQ(bitmap.Pixel(x, y), bitmap.Pixel(x, 49 - y)) << x << "," << y;
        }
    }
}

TEST(Fills, EllipseWithEmptyBoxDrawsNothing) {
    TBitmap bitmap(10, 10);
    bitmap.Canvas().Brush.Color = clBlack;
    bitmap.Canvas().Ellipse(5, 5, 5, 9);
    bitmap.Canvas().Ellipse(6, 6, 5, 5);
    EXPECT_EQ(CountPixels(bitmap, clBlack), 0);
}

TEST(FloodFill, BorderColourEqualToStartChangesNothing) {
    TBitmap bitmap(41, 25, 0x336699);
    bitmap.Canvas().Brush.Color = clBlack;
    bitmap.Canvas().FloodFill(10, 10, 0x336699);
    EXPECT_EQ(CountPixels(bitmap, 0x336699), 41 * 25);
}

TEST(FloodFill, OtherBorderColourRepaintsTheWholeUniformArea) {
    TBitmap bitmap(41, 25, clBlack);
    bitmap.Canvas().Brush.Color = 0x336699;
    bitmap.Canvas().FloodFill(10, 10, 0x336699);
    EXPECT_EQ(CountPixels(bitmap, 0x336699), 41 * 25);
}

TEST(FloodFill, StopsAtTheBorderColour) {
    TBitmap bitmap(20, 20);
    bitmap.Canvas().Brush.Color = clBlack;
    bitmap.Canvas().FillRect(Rect(5, 0, 6, 20)); // a wall at column 5
    bitmap.SetPixel(12, 3, 0x00FF00);            // a different colour inside the region
    bitmap.Canvas().Brush.Color = 0x0000FF;
    bitmap.Canvas().FloodFill(10, 10, clBlack);
    EXPECT_EQ(bitmap.Pixel(0, 0), clWhite);
    EXPECT_EQ(bitmap.Pixel(5, 7), clBlack);
    EXPECT_EQ(bitmap.Pixel(12, 3), 0x0000FFu) << "border mode fills every non-border colour";
    EXPECT_EQ(CountPixels(bitmap, 0x0000FF), 14 * 20);
}

TEST(CopyRect, ShrinkingAndsThePixelsThatFallTogether) {
    TBitmap source(2, 2);
    source.SetPixel(0, 0, 0x0000F0);
    source.SetPixel(1, 0, 0x00000F);
    TBitmap target(1, 1);
    target.Canvas().CopyRect(Rect(0, 0, 1, 1), source.Canvas(), Rect(0, 0, 2, 2));
    EXPECT_EQ(target.Pixel(0, 0), 0x000000u);

    TBitmap grey(4, 2);
    grey.SetPixel(0, 0, 0xC3C3C3);
    grey.SetPixel(1, 1, 0xB7B7B7);
    TBitmap half(2, 1);
    half.Canvas().CopyRect(Rect(0, 0, 2, 1), grey.Canvas(), Rect(0, 0, 4, 2));
    EXPECT_EQ(half.Pixel(0, 0), 0x838383u);
    EXPECT_EQ(half.Pixel(1, 0), clWhite);
}

TEST(CopyRect, EnlargingRepeatsEachPixel) {
    TBitmap source(2, 1);
    source.SetPixel(0, 0, 0x112233);
    source.SetPixel(1, 0, 0x445566);
    TBitmap target(4, 2);
    target.Canvas().CopyRect(Rect(0, 0, 4, 2), source.Canvas(), Rect(0, 0, 2, 1));
    EXPECT_EQ(target.Pixel(0, 0), 0x112233u);
    EXPECT_EQ(target.Pixel(1, 1), 0x112233u);
    EXPECT_EQ(target.Pixel(2, 0), 0x445566u);
    EXPECT_EQ(target.Pixel(3, 1), 0x445566u);

    TBitmap one(1, 1);
    one.SetPixel(0, 0, 0x0A0B0C);
    TBitmap block(2, 2);
    block.Canvas().CopyRect(Rect(0, 0, 2, 2), one.Canvas(), Rect(0, 0, 1, 1));
    EXPECT_EQ(CountPixels(block, 0x0A0B0C), 4);
}

TEST(CopyRect, AndModeWithWhiteKeepsAndWithBlackBlackens) {
    TBitmap target(2, 1);
    target.SetPixel(0, 0, 0x123456);
    target.SetPixel(1, 0, 0x654321);
    TBitmap source(2, 1);
    source.SetPixel(1, 0, clBlack);
    target.Canvas().CopyMode = cmSrcAnd;
    target.Canvas().CopyRect(Rect(0, 0, 2, 1), source.Canvas(), Rect(0, 0, 2, 1));
    EXPECT_EQ(target.Pixel(0, 0), 0x123456u);
    EXPECT_EQ(target.Pixel(1, 0), clBlack);
}

TEST(CopyRect, ClippedEnlargementKeepsItsScale) {
    TBitmap source(2, 2);
    source.SetPixel(0, 0, 0x000001);
    source.SetPixel(1, 0, 0x000002);
    source.SetPixel(0, 1, 0x000003);
    source.SetPixel(1, 1, 0x000004);
    TBitmap target(3, 3);
    // The destination starts one pixel left of and above the target: its 4 x 4 picture is
    // clipped, and the visible pixels keep the 2 x 2 blocks of the whole copy.
    target.Canvas().CopyRect(Rect(-1, -1, 3, 3), source.Canvas(), Rect(0, 0, 2, 2));
    EXPECT_EQ(target.Pixel(0, 0), 0x000001u);
    EXPECT_EQ(target.Pixel(1, 0), 0x000002u);
    EXPECT_EQ(target.Pixel(2, 0), 0x000002u);
    EXPECT_EQ(target.Pixel(0, 1), 0x000003u);
    EXPECT_EQ(target.Pixel(2, 2), 0x000004u);
}

TEST(CopyRect, OneToOneCopyClipsAtBothSurfaces) {
    TBitmap source(3, 3);
    source.Canvas().Brush.Color = clBlack;
    source.Canvas().FillRect(Rect(0, 0, 3, 3));
    TBitmap target(4, 4);
    target.Canvas().CopyRect(Rect(2, 2, 5, 5), source.Canvas(), Rect(0, 0, 3, 3));
    EXPECT_EQ(CountPixels(target, clBlack), 4);
    target.Canvas().CopyRect(Rect(0, 0, 3, 3), source.Canvas(), Rect(-2, -2, 1, 1));
    EXPECT_EQ(target.Pixel(1, 1), clWhite) << "source pixels outside the source draw nothing";
    EXPECT_EQ(target.Pixel(2, 2), clBlack);
}

TEST(CopyRect, EmptyOrInvertedRectanglesCopyNothing) {
    TBitmap source(4, 4);
    source.Canvas().Brush.Color = clBlack;
    source.Canvas().FillRect(Rect(0, 0, 4, 4));
    TBitmap target(4, 4);
    target.Canvas().CopyRect(Rect(26, 26, 25, 25), source.Canvas(), Rect(2, 2, 1, 1));
    target.Canvas().CopyRect(Rect(0, 0, 0, 4), source.Canvas(), Rect(0, 0, 4, 4));
    EXPECT_EQ(CountPixels(target, clWhite), 16);
}

TEST(CopyRect, CopyOntoItselfReadsThePixelsBeforeTheCopy) {
    TBitmap bitmap(3, 1);
    bitmap.SetPixel(0, 0, 0x000001);
    bitmap.SetPixel(1, 0, 0x000002);
    bitmap.Canvas().CopyRect(Rect(1, 0, 3, 1), bitmap.Canvas(), Rect(0, 0, 2, 1));
    EXPECT_EQ(bitmap.Pixel(1, 0), 0x000001u);
    EXPECT_EQ(bitmap.Pixel(2, 0), 0x000002u);
}

TEST(Sharing, CopiesSharePixelsUntilEitherIsDrawnOn) {
    TBitmap original(3, 3);
    original.SetPixel(1, 1, 0x123456);
    TBitmap copy = original;
    EXPECT_TRUE(copy.SharesPixelsWith(original));
    original.Canvas().Brush.Color = clBlack;
    original.Canvas().FillRect(Rect(0, 0, 3, 3));
    EXPECT_FALSE(copy.SharesPixelsWith(original));
    EXPECT_EQ(copy.Pixel(1, 1), 0x123456u);
    EXPECT_EQ(CountPixels(copy, clWhite), 8);

    TBitmap other = copy;
    other.SetPixel(0, 0, clBlack);
    EXPECT_EQ(copy.Pixel(0, 0), clWhite);
}

TEST(Sharing, AssignmentSharesThePixelsAndKeepsTheReceiversDrawingState) {
    TBitmap source(2, 2);
    source.SetPixel(0, 0, 0x123456);
    for (const bool moved : {false, true}) {
        TBitmap target;
        target.Canvas().Brush.Color = clBlack;
        target.Canvas().CopyMode = cmSrcAnd;
        target.Canvas().Pen.Style = TPenStyle::psClear;
        if (moved) {
            target = TBitmap(source);
        } else {
            target = source;
            EXPECT_TRUE(target.SharesPixelsWith(source));
        }
        EXPECT_EQ(target.Canvas().Brush.Color, clBlack) << moved;
        EXPECT_EQ(target.Canvas().CopyMode, cmSrcAnd) << moved;
        EXPECT_EQ(target.Canvas().Pen.Style, TPenStyle::psClear) << moved;
        EXPECT_EQ(&target.Canvas().Surface(), &target);
        // The receiver's brush fills what a resize adds; the source is not touched.
        target.SetSize(3, 2);
        EXPECT_EQ(target.Pixel(0, 0), 0x123456u) << moved;
        EXPECT_EQ(target.Pixel(2, 1), clBlack) << moved;
        EXPECT_EQ(source.Width(), 2);
    }
}

TEST(Sharing, DrawingStateKeepsItsLastValueWithinOneSurface) {
    TBitmap bitmap(2, 2);
    bitmap.Canvas().Brush.Color = clBlack;
    bitmap.Canvas().FillRect(Rect(0, 0, 1, 1));
    bitmap.SetSize(3, 3);
    EXPECT_EQ(bitmap.Canvas().Brush.Color, clBlack);
    EXPECT_EQ(bitmap.Pixel(2, 2), clBlack);
}
