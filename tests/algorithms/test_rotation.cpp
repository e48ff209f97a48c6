// The quadrant rotation: single-precision roundings, quantised factors, output side, the pixel
// mappings, and the fast loop against a direct transcription of the per-pixel steps.
#include "rotate/RotationTransform.h"

#include "tests/support/Surfaces.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace test_support;

namespace {

// The integer from the 15-digit scientific rendering of the value: the digits before the
// exponent's position, the sign kept.
int DecimalRealToInt(float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.14E", static_cast<double>(value));
    const char* mark = std::strchr(text, 'E');
    const int exponent = std::atoi(mark + 1);
    if (exponent < 0) {
        return 0;
    }
    const bool negative = text[0] == '-';
    std::string digits;
    for (const char* p = text + (negative ? 1 : 0); p < mark; ++p) {
        if (*p != '.') {
            digits += *p;
        }
    }
    const long long magnitude = std::stoll(digits.substr(0, exponent + 1));
    return static_cast<int>(negative ? -magnitude : magnitude);
}

// The rotation as the steps give it: column by column, every pixel through Pixel/SetPixel.
void OracleRotate(const TBitmap& source, int angle, int quadrant, TBitmap& up, TBitmap& down) {
    const int w2 = source.Width() / 2;
    const int h2 = source.Height() / 2;
    const int S = RealToInt(static_cast<float>(
        std::sqrt(static_cast<double>(static_cast<float>(w2 * w2 + h2 * h2))) + 1.0));
    up.SetWidth(S);
    down.SetWidth(S);
    up.SetHeight(S);
    down.SetHeight(S);
    const float theta = static_cast<float>(angle * 3.1416 * (1.0 / 180));
    const int s = RealToInt(static_cast<float>(std::sin(static_cast<double>(theta)) * 1024));
    const int c = RealToInt(static_cast<float>(std::cos(static_cast<double>(theta)) * 1024));
    const int x0 = (quadrant == 1 || quadrant == 3) ? w2 : 0;
    const int y0 = (quadrant == 2 || quadrant == 3) ? h2 : 0;
    const TColor fill = quadrant == 0 ? 0x000000 : 0xFFFFFF;
    const int cx = x0 + w2 / 2;
    const int cy = y0 + h2 / 2;
    auto colour = [&](int x, int y) {
        const bool inside = x0 <= x && x <= x0 + w2 - 1 && y0 <= y && y <= y0 + h2 - 1;
        return inside ? source.Pixel(x, y) : fill;
    };
    for (int i = 0; i < S; ++i) {
        for (int j = 0; j < S; ++j) {
            const int a = i - S / 2;
            const int b = j - S / 2;
            const int xd = cx + (c * a - s * b) / 1024;
            const int yd = cy + (s * a + c * b) / 1024;
            const int xu = cx + (c * a + s * b) / 1024;
            const int yu = cy + (c * b - s * a) / 1024;
            down.SetPixel(i, j, colour(xd, yd));
            up.SetPixel(i, j, colour(xu, yu));
        }
    }
}

// Every pixel names its own position, so a copied pixel tells where it came from.
TBitmap PositionPicture(int width, int height) {
    TBitmap bitmap(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bitmap.SetPixel(x, y, static_cast<TColor>(0x100000 + y * 1024 + x));
        }
    }
    return bitmap;
}

TColor At(int x, int y) {
    return static_cast<TColor>(0x100000 + y * 1024 + x);
}

} // namespace

TEST(RealToInt, TruncatesTowardZero) {
    EXPECT_EQ(RealToInt(886.8f), 886);
    EXPECT_EQ(RealToInt(-0.0037f), 0);
    EXPECT_EQ(RealToInt(-512.0011f), -512);
    EXPECT_EQ(RealToInt(1024.0f), 1024);
    EXPECT_EQ(RealToInt(886.809387f), 886);
    EXPECT_EQ(RealToInt(0.0f), 0);
    EXPECT_EQ(RealToInt(-1.0f), -1);
}

TEST(RealToInt, AgreesWithTheFifteenDigitRendering) {
    std::mt19937 random(5);
    std::uniform_real_distribution<float> small(-3000.0f, 3000.0f);
    std::uniform_int_distribution<int> exponent(-20, 30);
    for (int i = 0; i < 20000; ++i) {
        float value = small(random);
        if (i % 2) {
            value = std::ldexp(value / 3000.0f, exponent(random));
        }
        ASSERT_EQ(RealToInt(value), DecimalRealToInt(value)) << value;
    }
}

TEST(QuantisedFactors, MatchTheTableOfAngles) {
    struct Row {
        int Angle, S, C;
    };
    const Row table[] = {{0, 0, 1024},    {10, 177, 1008}, {15, 265, 989}, {20, 350, 962},
                         {30, 512, 886},  {45, 724, 724},  {60, 886, 511}, {90, 1024, 0},
                         {180, 0, -1024}, {270, -1024, 0}, {360, 0, 1024}, {-30, -512, 886}};
    for (const Row& row : table) {
        EXPECT_EQ(QuantisedFactors(row.Angle), (RotationFactors{row.S, row.C}))
            << "angle " << row.Angle;
    }
}

TEST(OutputSide, IsTheSinglePrecisionDiagonalPlusOne) {
    EXPECT_EQ(OutputSide(50, 40), 65);
    EXPECT_EQ(OutputSide(3, 4), 6);
    EXPECT_EQ(OutputSide(0, 0), 1);
    EXPECT_EQ(OutputSide(0, 7), 8);
    // sqrt(5000^2 + 100^2) = 5000.9999: the sum rounds to 5002 in single precision.
    EXPECT_EQ(OutputSide(5000, 100), 5002);
}

TEST(RotateQuadrant, NinetyDegreesMapsThroughTheQuadrantCentre) {
    const TBitmap sheet = PositionPicture(100, 80);
    TBitmap up, down;
    RotateQuadrant(sheet, 90, 0, up, down);
    ASSERT_EQ(up.Width(), 65);
    ASSERT_EQ(down.Height(), 65);
    EXPECT_EQ(up.Pixel(32, 22), At(15, 20));
    EXPECT_EQ(down.Pixel(32, 22), At(35, 20));
    EXPECT_EQ(up.Pixel(32, 32), At(25, 20)) << "the output centre is the quadrant centre";
    EXPECT_EQ(up.Pixel(0, 0), clBlack) << "image quadrant fill";
}

TEST(RotateQuadrant, ThirtyDegreesTruncatesSmallQuotientsToTheCentre) {
    const TBitmap sheet = PositionPicture(100, 80);
    TBitmap up, down;
    RotateQuadrant(sheet, 30, 0, up, down);
    EXPECT_EQ(up.Pixel(33, 32), At(25, 20));
    EXPECT_EQ(down.Pixel(33, 32), At(25, 20));
}

TEST(RotateQuadrant, QuadrantOneSamplesOnlyItsOwnColumnsAndRows) {
    const TBitmap sheet = PositionPicture(101, 80); // column 100 belongs to no quadrant
    TBitmap up, down;
    for (int angle : {0, 17, 30, 90, 200}) {
        RotateQuadrant(sheet, angle, 1, up, down);
        for (const TBitmap* out : {&up, &down}) {
            for (int j = 0; j < out->Height(); ++j) {
                for (int i = 0; i < out->Width(); ++i) {
                    const TColor c = out->Pixel(i, j);
                    if (c == clWhite) {
                        continue;
                    }
                    const int x = static_cast<int>((c - 0x100000) % 1024);
                    const int y = static_cast<int>((c - 0x100000) / 1024);
                    ASSERT_TRUE(x >= 50 && x <= 99 && y <= 39) << "angle " << angle;
                }
            }
        }
        EXPECT_EQ(up.Pixel(32, 32), At(75, 20)) << "angle " << angle;
    }
}

TEST(RotateQuadrant, NegativeAngleUpIsThePositiveAngleDown) {
    std::mt19937 random(2);
    const TBitmap sheet = RandomColours(random, 37, 24);
    for (int quadrant = 0; quadrant < 4; ++quadrant) {
        TBitmap upMinus, downMinus, upPlus, downPlus;
        RotateQuadrant(sheet, -30, quadrant, upMinus, downMinus);
        RotateQuadrant(sheet, 30, quadrant, upPlus, downPlus);
        EXPECT_EQ(FirstDifference(upMinus, downPlus), "") << "quadrant " << quadrant;
        EXPECT_EQ(FirstDifference(downMinus, upPlus), "") << "quadrant " << quadrant;
    }
}

TEST(RotateQuadrant, SourceMayBeOneOfTheOutputs) {
    std::mt19937 random(4);
    const TBitmap sheet = RandomColours(random, 20, 16);
    TBitmap expectedUp, expectedDown;
    RotateQuadrant(sheet, 45, 1, expectedUp, expectedDown);
    TBitmap up = sheet;
    TBitmap down;
    RotateQuadrant(up, 45, 1, up, down);
    EXPECT_EQ(FirstDifference(up, expectedUp), "");
    EXPECT_EQ(FirstDifference(down, expectedDown), "");
    // One surface for both directions ends holding the up direction.
    TBitmap both = sheet;
    RotateQuadrant(both, 45, 1, both, both);
    EXPECT_EQ(FirstDifference(both, expectedUp), "");
}

TEST(RotateQuadrant, FastLoopMatchesThePerPixelStepsOnRandomAnglesAndSizes) {
    std::mt19937 random(1);
    std::uniform_int_distribution<int> angle(-720, 720);
    for (int round = 0; round < 150; ++round) {
        // The last few rounds are large enough for long rows and both signs on every row.
        const int limit = round < 146 ? 70 : 900;
        const int w = static_cast<int>(random() % limit);
        const int h = static_cast<int>(random() % limit);
        const TBitmap sheet = RandomColours(random, w, h);
        const int a = round < 8 ? round * 45 : angle(random);
        const int quadrant = round % 4;
        TBitmap up, down, oracleUp, oracleDown;
        up.Canvas().Brush.Color = 0x123456; // stale contents must never show through
        RotateQuadrant(sheet, a, quadrant, up, down);
        OracleRotate(sheet, a, quadrant, oracleUp, oracleDown);
        ASSERT_EQ(FirstDifference(up, oracleUp), "")
            << w << " x " << h << " angle " << a << " quadrant " << quadrant;
        ASSERT_EQ(FirstDifference(down, oracleDown), "")
            << w << " x " << h << " angle " << a << " quadrant " << quadrant;
    }
}
