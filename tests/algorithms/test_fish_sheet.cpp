// Fish data sheet composition, its bounding box and zoom rule, and the preview frames.
#include "fish/PreviewFrames.h"
#include "fish/SheetComposer.h"

#include "tests/support/Surfaces.h"

#include <gtest/gtest.h>

using namespace test_support;

namespace {

constexpr TColor kBlue = 0xFF0000;
constexpr TColor kGreen = 0x00FF00;

// The 10 x 8 picture with its fish in columns 3..6 and rows 2..4 (a few pixels of each edge).
TBitmap TenByEightFish(TColor background) {
    TBitmap picture(10, 8, background);
    picture.SetPixel(3, 3, kGreen);
    picture.SetPixel(6, 2, 0x123456);
    picture.SetPixel(4, 4, clBlack);
    picture.SetPixel(5, 3, 0x0000FF);
    return picture;
}

// A direct transcription of the composer's steps, pixel call by pixel call, column by column.
TBitmap OracleSheet(const TBitmap& picture, TColor background, const TBitmap& shadow1,
                    const TBitmap& shadow2, int u) {
    const int W = picture.Width();
    const int H = picture.Height();
    int top = -1, bottom = -1, left = -1, right = -1;
    for (int y = 0; y < H && top < 0; ++y)
        for (int x = 0; x < W; ++x)
            if (picture.Pixel(x, y) != background) {
                top = y;
                break;
            }
    for (int y = H - 1; y >= 0 && bottom < 0; --y)
        for (int x = W - 1; x >= 0; --x)
            if (picture.Pixel(x, y) != background) {
                bottom = y;
                break;
            }
    for (int x = 0; x < W && left < 0; ++x)
        for (int y = 0; y < H; ++y)
            if (picture.Pixel(x, y) != background) {
                left = x;
                break;
            }
    for (int x = W - 1; x >= 0 && right < 0; --x)
        for (int y = H - 1; y >= 0; --y)
            if (picture.Pixel(x, y) != background) {
                right = x;
                break;
            }
    const int w = right - left + 1;
    const int h = bottom - top + 1;
    TBitmap sheet;
    sheet.SetWidth(2 * w);
    sheet.SetHeight(2 * h);
    sheet.Canvas().CopyRect(Rect(0, 0, w, h), picture.Canvas(),
                            Rect(left, top, right + 1, bottom + 1));
    for (int x = 0; x < w; ++x)
        for (int y = 0; y < h; ++y) {
            if (sheet.Pixel(x, y) == background) {
                sheet.SetPixel(w + x, y, clPaletteWhite);
                sheet.SetPixel(x, y, clPaletteBlack);
            } else {
                sheet.SetPixel(w + x, y, clPaletteBlack);
            }
        }
    const TRect source = Rect(u * left, u * top, u * (right + 1), u * (bottom + 1));
    sheet.Canvas().CopyRect(Rect(0, h, w, 2 * h), shadow1.Canvas(), source);
    sheet.Canvas().CopyRect(Rect(w, h, 2 * w, 2 * h), shadow2.Canvas(), source);
    for (int x = 0; x < 2 * w; ++x)
        for (int y = h; y < 2 * h; ++y)
            sheet.SetPixel(x, y, PaletteGrey(static_cast<int>(sheet.Pixel(x, y) % 256)));
    return sheet;
}

} // namespace

TEST(FishBox, TenByEightExampleGivesColumnsThreeToSixRowsTwoToFour) {
    const FishBoundingBox box = FindFishBox(TenByEightFish(clWhite), clWhite);
    EXPECT_EQ(box, (FishBoundingBox{3, 2, 6, 4}));
    EXPECT_EQ(box.Width(), 4);
    EXPECT_EQ(box.Height(), 3);
}

TEST(FishBox, AgreesWithMinimumAndMaximumOnRandomSparsePictures) {
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        const int w = 1 + static_cast<int>(random() % 100);
        const int h = 1 + static_cast<int>(random() % 40);
        TBitmap picture(w, h, clWhite);
        const int marks = static_cast<int>(random() % 5);
        FishBoundingBox expected;
        int minX = w, minY = h, maxX = -1, maxY = -1;
        for (int i = 0; i < marks; ++i) {
            const int x = static_cast<int>(random() % w);
            const int y = static_cast<int>(random() % h);
            picture.SetPixel(x, y, clBlack);
            minX = std::min(minX, x), maxX = std::max(maxX, x);
            minY = std::min(minY, y), maxY = std::max(maxY, y);
        }
        if (marks > 0) {
            expected = {minX, minY, maxX, maxY};
        }
        EXPECT_EQ(FindFishBox(picture, clWhite), expected) << "round " << round;
        EXPECT_EQ(ScanBox(picture, clBlack, BoxRule::Equals), expected) << "round " << round;
    }
}

TEST(ZoomFactor, TwoOnlyBelowOneHundredFiftyByOneHundredTen) {
    EXPECT_EQ(ZoomFactorFor(149, 109), 2);
    EXPECT_EQ(ZoomFactorFor(1, 1), 2);
    EXPECT_EQ(ZoomFactorFor(150, 109), 1);
    EXPECT_EQ(ZoomFactorFor(149, 110), 1);
    EXPECT_EQ(ZoomFactorFor(400, 50), 1);
}

TEST(FishSheet, TenByEightExampleLaysOutImageMaskAndShadowQuadrants) {
    const TBitmap picture = TenByEightFish(clWhite);
    TBitmap shadow1(10, 8, clWhite);
    TBitmap shadow2(10, 8, clWhite);
    shadow1.SetPixel(3, 2, 0x0A0AC8); // red 200, green and blue 10: grey 200
    shadow2.SetPixel(6, 4, 0x000040);
    shadow1.SetPixel(2, 2, clBlack); // outside the box: never reaches the sheet
    TBitmap sheet;
    ComposeFishSheet(picture, clWhite, shadow1, shadow2, 1, sheet);
    ASSERT_EQ(sheet.Width(), 8);
    ASSERT_EQ(sheet.Height(), 6);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            const TColor source = picture.Pixel(3 + x, 2 + y);
            const bool fish = source != clWhite;
            EXPECT_EQ(sheet.Pixel(x, y), fish ? source : clBlack) << x << "," << y;
            EXPECT_EQ(sheet.Pixel(4 + x, y), fish ? clBlack : clWhite) << x << "," << y;
        }
    }
    EXPECT_EQ(sheet.Pixel(1, 2), clBlack) << "a black fish pixel stays black";
    EXPECT_EQ(sheet.Pixel(5, 2), clBlack) << "and is fish in the mask";
    EXPECT_EQ(sheet.Pixel(0, 3), 0xC8C8C8u);
    EXPECT_EQ(sheet.Pixel(7, 5), 0x404040u);
    EXPECT_EQ(sheet.Pixel(1, 3), clWhite);
}

TEST(FishSheet, ZoomTwoHalvesTheDoubledBoxByBitwiseAnd) {
    const TBitmap picture = TenByEightFish(clWhite);
    // Inside the source rectangle (6,4)-(14,10) each 2 x 2 block holds 0xF0 and 0x0F reds, or
    // two whites; outside it everything is black, so a wrong rectangle shows up as zeros.
    TBitmap shadow1(20, 16, clBlack);
    TBitmap shadow2(20, 16, clBlack);
    for (int y = 4; y < 10; ++y) {
        for (int x = 6; x < 14; ++x) {
            const bool mixed = ((x / 2) + (y / 2)) % 2 == 0;
            shadow1.SetPixel(x, y, mixed ? ((x + y) % 2 ? 0x0000F0 : 0x00000F) : clWhite);
            shadow2.SetPixel(x, y, mixed ? clWhite : 0x0000C3);
        }
    }
    TBitmap sheet;
    ComposeFishSheet(picture, clWhite, shadow1, shadow2, 2, sheet);
    ASSERT_EQ(sheet.Width(), 8);
    ASSERT_EQ(sheet.Height(), 6);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            const bool mixed = ((3 + x) + (2 + y)) % 2 == 0;
            EXPECT_EQ(sheet.Pixel(x, 3 + y), mixed ? 0u : 0xFFFFFFu) << x << "," << y;
            EXPECT_EQ(sheet.Pixel(4 + x, 3 + y), mixed ? 0xFFFFFFu : 0xC3C3C3u) << x << "," << y;
        }
    }
}

TEST(FishSheet, BackgroundColourInsideTheFishIsTransparent) {
    TBitmap picture(3, 1, kBlue);
    picture.SetPixel(0, 0, kGreen);
    picture.SetPixel(2, 0, kGreen); // (1,0) keeps the background between two fish pixels
    TBitmap sheet;
    ComposeFishSheet(picture, kBlue, TBitmap(3, 1, clWhite), TBitmap(3, 1, clWhite), 1, sheet);
    ASSERT_EQ(sheet.Width(), 6);
    EXPECT_EQ(sheet.Pixel(1, 0), clBlack);
    EXPECT_EQ(sheet.Pixel(4, 0), clWhite);
    EXPECT_EQ(sheet.Pixel(3, 0), clBlack);
}

TEST(FishSheet, SinglePixelFishGivesTwoByTwoSheet) {
    TBitmap picture(30, 20, clWhite);
    picture.SetPixel(29, 19, kGreen);
    TBitmap shadow1(60, 40, clWhite);
    shadow1.SetPixel(58, 38, 0x000080);
    TBitmap sheet;
    ComposeFishSheet(picture, clWhite, shadow1, TBitmap(60, 40, clWhite), 2, sheet);
    ASSERT_EQ(sheet.Width(), 2);
    ASSERT_EQ(sheet.Height(), 2);
    EXPECT_EQ(sheet.Pixel(0, 0), kGreen);
    EXPECT_EQ(sheet.Pixel(1, 0), clBlack);
    EXPECT_EQ(sheet.Pixel(0, 1), 0x808080u);
    EXPECT_EQ(sheet.Pixel(1, 1), clWhite);
}

TEST(FishSheet, PictureWithoutFishGivesTheEmptyFishWhateverTheSheetHeld) {
    for (const TBitmap& picture : {TBitmap(5, 4, kBlue), TBitmap()}) {
        TBitmap sheet(2, 2, kGreen);
        sheet.Canvas().Brush.Color = kGreen; // a regrown sheet would start green
        ComposeFishSheet(picture, kBlue, TBitmap(5, 4, clBlack), TBitmap(5, 4, clBlack), 1, sheet);
        ASSERT_EQ(sheet.Width(), 2);
        ASSERT_EQ(sheet.Height(), 2);
        EXPECT_EQ(sheet.Pixel(0, 0), clBlack);
        EXPECT_EQ(sheet.Pixel(1, 0), clWhite);
        EXPECT_EQ(sheet.Pixel(0, 1), clWhite);
        EXPECT_EQ(sheet.Pixel(1, 1), clWhite);
    }
}

TEST(FishSheet, ComposesPlainlyWhateverCopyModeTheSheetHadAndKeepsIt) {
    const TBitmap picture = TenByEightFish(clWhite);
    TBitmap sheet(8, 6, clBlack); // AND onto black would leave it black
    sheet.Canvas().CopyMode = cmSrcAnd;
    ComposeFishSheet(picture, clWhite, TBitmap(10, 8, clWhite), TBitmap(10, 8, clWhite), 1, sheet);
    EXPECT_EQ(sheet.Pixel(0, 1), kGreen);
    EXPECT_EQ(sheet.Pixel(3, 5), clWhite);
    EXPECT_EQ(sheet.Canvas().CopyMode, cmSrcAnd);
}

TEST(FishSheet, MatchesTheStepByStepCompositionOnRandomPictures) {
    std::mt19937 random(11);
    const std::vector<TColor> palette{clWhite, clWhite, clWhite, clBlack, kGreen, 0x808080};
    for (int round = 0; round < 60; ++round) {
        const int w = 1 + static_cast<int>(random() % 30);
        const int h = 1 + static_cast<int>(random() % 30);
        const int u = 1 + static_cast<int>(random() % 2);
        const TBitmap picture = RandomPicture(random, w, h, palette);
        const TBitmap shadow1 = RandomColours(random, u * w, u * h);
        const TBitmap shadow2 = RandomColours(random, u * w, u * h);
        if (!FindFishBox(picture, clWhite).Found()) {
            continue;
        }
        TBitmap sheet;
        ComposeFishSheet(picture, clWhite, shadow1, shadow2, u, sheet);
        EXPECT_EQ(FirstDifference(sheet, OracleSheet(picture, clWhite, shadow1, shadow2, u)), "")
            << "round " << round << " (" << w << " x " << h << ", zoom " << u << ")";
    }
}

TEST(PreviewFrames, EachFrameIsTheImageAndedWithItsShadow) {
    std::mt19937 random(3);
    TBitmap sheet = RandomColours(random, 8, 6);
    TBitmap preview;
    preview.Canvas().CopyMode = cmSrcAnd;
    BuildPreviewFrames(sheet, preview);
    ASSERT_EQ(preview.Width(), 8);
    ASSERT_EQ(preview.Height(), 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 4; ++x) {
            const TColor image = sheet.Pixel(x, y);
            EXPECT_EQ(preview.Pixel(x, y), image & sheet.Pixel(x, 3 + y)) << x << "," << y;
            EXPECT_EQ(preview.Pixel(4 + x, y), image & sheet.Pixel(4 + x, 3 + y));
        }
    }
    EXPECT_EQ(preview.Canvas().CopyMode, cmSrcAnd);
}

TEST(PreviewFrames, OddAndEmptySheetsSizeThePreviewFromTheSheet) {
    TBitmap preview(4, 4, kGreen);
    preview.Canvas().Brush.Color = kGreen; // regrown parts start green unless a copy covers them
    BuildPreviewFrames(TBitmap(5, 7, clWhite), preview);
    EXPECT_EQ(preview.Width(), 5);
    EXPECT_EQ(preview.Height(), 3);
    EXPECT_EQ(preview.Pixel(4, 2), clWhite) << "the stretched right half reaches the edge";
    BuildPreviewFrames(TBitmap(), preview);
    EXPECT_TRUE(preview.Empty());
}
