// The soft pen's stamp for each slider setting, its copy into an editor, and one paint step.
#include "shadow/PenStamp.h"
#include "shadow/ShadowPaint.h"
#include "shadow/StrokeStamps.h"

#include "tests/support/Surfaces.h"

#include <gtest/gtest.h>

using namespace test_support;

namespace {

TBitmap StampArea(const PenSettings& pen) {
    TBitmap area(50, 50);
    DrawPenStamp(area.Canvas(), pen);
    return area;
}

// The grey level along the radius to the right of the centre: index r is pixel (25 + r, 25).
std::vector<int> RadiusGreys(const TBitmap& area) {
    std::vector<int> greys;
    for (int x = 25; x < 50; ++x) {
        const TColor c = area.Pixel(x, 25);
        EXPECT_TRUE(RedOf(c) == GreenOf(c) && GreenOf(c) == BlueOf(c)) << "not grey at " << x;
        greys.push_back(RedOf(c));
    }
    return greys;
}

} // namespace

TEST(PenSettings, CentreSliderCountsInTwentyFifthsOfTheWidth) {
    EXPECT_EQ(CenterSizeFor(20, 10), 8);
    EXPECT_EQ(CenterSizeFor(50, 25), 50);
    EXPECT_EQ(CenterSizeFor(50, 1), 2);
    EXPECT_EQ(CenterSizeFor(7, 3), 0);
}

TEST(PenStamp, DefaultPenHasRingsSteppingByTwelveAndCentre183) {
    const std::vector<int> greys = RadiusGreys(StampArea(PenSettings{20, 8, 75}));
    // Ring of box half-width m covers radii m-1 (the pixel centres at 25 + r + 0.5).
    const std::vector<int> expected{183, 183, 183, 183, 195, 207, 219, 231, 243, 255};
    for (std::size_t r = 0; r < expected.size(); ++r) {
        EXPECT_EQ(greys[r], expected[r]) << "radius " << r;
    }
    for (std::size_t r = expected.size(); r < greys.size(); ++r) {
        EXPECT_EQ(greys[r], 255) << "radius " << r;
    }
}

TEST(PenStamp, NarrowerPenKeepsTheOldCentreSize) {
    // Width slider moved to 10 alone: CenterSize stays 8, step 37, the m = 5 disc is white.
    const std::vector<int> greys = RadiusGreys(StampArea(PenSettings{10, 8, 75}));
    EXPECT_EQ(greys[0], 181);
    EXPECT_EQ(greys[3], 181);
    EXPECT_EQ(greys[4], 255);
}

TEST(PenStamp, CentreAsWideAsThePenKeepsOneRing) {
    // Width 50, centre 25, density 255: white disc of box 50, black disc of box 48 inside.
    const TBitmap area = StampArea(PenSettingsFor(50, 25, 255));
    const std::vector<int> greys = RadiusGreys(area);
    for (int r = 0; r < 24; ++r) {
        EXPECT_EQ(greys[r], 0) << "radius " << r;
    }
    EXPECT_EQ(greys[24], 255);
    EXPECT_EQ(area.Pixel(0, 0), clWhite);
}

TEST(PenStamp, WidthFiveWithLeftoverCentreEightDrawsOneGrey180Disc) {
    const std::vector<int> greys = RadiusGreys(StampArea(PenSettings{5, 8, 75}));
    EXPECT_EQ(greys[0], 180);
    EXPECT_EQ(greys[1], 180);
    EXPECT_EQ(greys[2], 255);
}

TEST(PenStamp, StepZeroOrWidthZeroLeavesAPlainWhiteSquare) {
    for (const PenSettings& pen : {PenSettingsFor(50, 1, 10), PenSettingsFor(0, 10, 75)}) {
        TBitmap area(60, 60, clBlack);
        DrawPenStamp(area.Canvas(), pen);
        for (int y = 0; y < 60; ++y) {
            for (int x = 0; x < 60; ++x) {
                const bool inArea = x < 50 && y < 50;
                ASSERT_EQ(area.Pixel(x, y), inArea ? clWhite : clBlack) << x << "," << y;
            }
        }
    }
}

TEST(PenStamp, EditorCopyIsTheCentredSquareOfTheStampArea) {
    const TBitmap area = StampArea(PenSettings{20, 8, 75});
    TBitmap pen;
    CopyPenStamp(area.Canvas(), 20, pen);
    ASSERT_EQ(pen.Width(), 20);
    ASSERT_EQ(pen.Height(), 20);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            ASSERT_EQ(pen.Pixel(x, y), area.Pixel(15 + x, 15 + y)) << x << "," << y;
        }
    }
    CopyPenStamp(area.Canvas(), 0, pen);
    EXPECT_TRUE(pen.Empty());
    CopyPenStamp(area.Canvas(), 5, pen); // an odd width stretches the 4-pixel square
    EXPECT_EQ(pen.Width(), 5);
    EXPECT_EQ(pen.Pixel(4, 4), area.Pixel(26, 26));
}

TEST(PaintStep, DefaultPenChangesOnlyThe19By19SquareAroundThePointer) {
    const TBitmap area = StampArea(PenSettings{20, 8, 75});
    TBitmap shadow(80, 60, clWhite);
    TBitmap view(80, 60, 0x7F7F7F);
    PaintShadowStep(area.Canvas(), 20, 40, 30, shadow, view);
    int changed = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 80; ++x) {
            const bool inside = x >= 31 && x <= 49 && y >= 21 && y <= 39;
            const TColor stamp = inside ? area.Pixel(x - 15, y - 5) : clWhite;
            ASSERT_EQ(shadow.Pixel(x, y), stamp) << x << "," << y;
            ASSERT_EQ(view.Pixel(x, y), 0x7F7F7Fu & stamp) << x << "," << y;
            changed += shadow.Pixel(x, y) != clWhite;
        }
    }
    EXPECT_GT(changed, 0);
    EXPECT_EQ(shadow.Pixel(40, 30), 0xB7B7B7u) << "the stamp's centre lands on the pointer";
    EXPECT_EQ(shadow.Canvas().CopyMode, cmSrcCopy);
    EXPECT_EQ(view.Canvas().CopyMode, cmSrcCopy);
}

TEST(PaintStep, StepAtTheOriginPaintsOnlyTheStampsBottomRight) {
    const TBitmap area = StampArea(PenSettings{20, 8, 75});
    TBitmap shadow(30, 30, clWhite);
    TBitmap view(30, 30, clWhite);
    PaintShadowStep(area.Canvas(), 20, 0, 0, shadow, view);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 30; ++x) {
            const TColor expected = x <= 9 && y <= 9 ? area.Pixel(25 + x, 25 + y) : clWhite;
            ASSERT_EQ(shadow.Pixel(x, y), expected) << x << "," << y;
            ASSERT_EQ(view.Pixel(x, y), expected) << x << "," << y;
        }
    }
}

TEST(PaintStep, StampingDarkensByBitwiseAnd) {
    // The default stamp's m = 5 ring is 195 at radius 4; over grey 183 it leaves 131.
    const TBitmap area = StampArea(PenSettings{20, 8, 75});
    TBitmap shadow(40, 40, PaletteGrey(183));
    TBitmap view(40, 40, clWhite);
    PaintShadowStep(area.Canvas(), 20, 20, 20, shadow, view);
    EXPECT_EQ(area.Pixel(29, 25), 0xC3C3C3u);
    EXPECT_EQ(shadow.Pixel(24, 20), 0x838383u);
    EXPECT_EQ(view.Pixel(24, 20), 0x838383u);
}

TEST(PaintStep, PenNarrowerThanTwoPaintsNothing) {
    const TBitmap area = StampArea(PenSettings{20, 8, 75});
    for (int width : {0, 1}) {
        TBitmap shadow(10, 10, clWhite);
        TBitmap view(10, 10, clWhite);
        PaintShadowStep(area.Canvas(), width, 5, 5, shadow, view);
        EXPECT_EQ(FirstDifference(shadow, TBitmap(10, 10, clWhite)), "");
        EXPECT_EQ(FirstDifference(view, TBitmap(10, 10, clWhite)), "");
    }
}

TEST(StrokeStamps, OneStampPerMoveAt100PercentAndAboveEvenlySpacedBelow) {
    using Stamps = std::vector<StampPoint>;
    struct MoveCase {
        StampPoint from, to;
        int zoom;
        bool fromPress;
        Stamps expected;
    };
    const std::vector<MoveCase> cases = {
        {{0, 0}, {40, 0}, 100, true, {{40, 0}}},
        {{0, 0}, {40, 30}, 400, false, {{40, 30}}},
        // 80 picture pixels shown as 20 screen pixels: stamps 20 apart, from the press on.
        {{10, 5}, {90, 5}, 25, false, {{30, 5}, {50, 5}, {70, 5}, {90, 5}}},
        {{10, 5}, {90, 5}, 25, true, {{10, 5}, {30, 5}, {50, 5}, {70, 5}, {90, 5}}},
        {{0, 0}, {-40, 20}, 50, false, {{-20, 10}, {-40, 20}}},
        // A move of one picture pixel, or none, needs nothing in between.
        {{3, 3}, {4, 4}, 25, false, {{4, 4}}},
        {{3, 3}, {3, 3}, 25, true, {{3, 3}}},
    };
    for (const MoveCase& c : cases) {
        EXPECT_EQ(StrokeStamps(c.from, c.to, c.zoom, c.fromPress), c.expected)
            << c.from.X << "," << c.from.Y << " to " << c.to.X << "," << c.to.Y << " at " << c.zoom;
    }
}
