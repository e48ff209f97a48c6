// The view zoom: its steps, the screen-to-picture mapping at every step, the zoomed drawing of a
// part against a pixel-by-pixel reference, and the changed area that limits a repaint.
#include "raster/TPicture.h"
#include "raster/ViewZoom.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

TBitmap Numbered(int width, int height) {
    TBitmap picture(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            picture.SetPixel(x, y, RGB(x * 7 % 256, y * 13 % 256, (x + y) % 256));
        }
    }
    return picture;
}

} // namespace

TEST(ViewZoom, StepsGoUpAndDownTheListAndHoldAtItsEnds) {
    EXPECT_EQ(ZoomStepIn(100), 200);
    EXPECT_EQ(ZoomStepIn(800), 1200);
    EXPECT_EQ(ZoomStepIn(1600), 1600);
    EXPECT_EQ(ZoomStepOut(100), 50);
    EXPECT_EQ(ZoomStepOut(300), 200);
    EXPECT_EQ(ZoomStepOut(25), 25);
}

TEST(ViewZoom, EveryScreenPixelMapsToThePicturePixelItShowsAtEveryStep) {
    for (int percent : kZoomSteps) {
        for (int picture = -3; picture < 40; ++picture) {
            const int first = ScreenAt(picture, percent);
            const int next = ScreenAt(picture + 1, percent);
            EXPECT_GE(next, first) << percent;
            for (int screen = first; screen < next; ++screen) {
                EXPECT_EQ(PictureAt(screen, percent), picture) << percent << "% at " << screen;
            }
        }
        // A position a fraction left of the picture is outside it.
        EXPECT_EQ(PictureAt(-0.25, percent), -1) << percent;
    }
    EXPECT_EQ(ScreenLength(10, 25), 3);
    EXPECT_EQ(ScreenLength(4096, 1600), 65536);
}

TEST(ViewZoom, ZoomedPartEqualsThePixelByPixelReferenceAndLeavesTheRestAlone) {
    const TBitmap picture = Numbered(37, 23);
    for (int percent : kZoomSteps) {
        const TRect whole = ScreenRect(Rect(0, 0, 37, 23), percent);
        // A part that starts inside and reaches past the picture's bottom-right corner.
        const TRect part =
            Rect(whole.Right / 3, whole.Bottom / 4, whole.Right + 5, whole.Bottom + 3);
        const int width = part.Width();
        std::vector<std::uint32_t> out(static_cast<std::size_t>(width * part.Height()), 0x12345678);
        RenderZoomed(picture, percent, part, out.data(), width);
        for (int y = part.Top; y < part.Bottom; ++y) {
            for (int x = part.Left; x < part.Right; ++x) {
                const std::uint32_t got =
                    out[static_cast<std::size_t>((y - part.Top) * width + (x - part.Left))];
                const int px = PictureAt(x, percent);
                const int py = PictureAt(y, percent);
                if (px >= 37 || py >= 23) {
                    ASSERT_EQ(got, 0x12345678u) << percent << "% at " << x << "," << y;
                    continue;
                }
                const TColor c = picture.Pixel(px, py);
                const std::uint32_t expected =
                    0xFF000000u | (RedOf(c) << 16) | (GreenOf(c) << 8) | BlueOf(c);
                ASSERT_EQ(got, expected) << percent << "% at " << x << "," << y;
            }
        }
    }
}

TEST(ViewZoom, APictureReportsTheAreaEachDrawingChangedAndTheWholeOnAssignment) {
    TPicture picture;
    picture.Assign(TBitmap(50, 40));
    EXPECT_EQ(picture.ChangedArea(), Rect(0, 0, 50, 40));
    TCanvas& canvas = picture.Bitmap()->Canvas();
    canvas.FillRect(Rect(-5, 10, 8, 12));
    EXPECT_EQ(picture.ChangedArea(), Rect(0, 10, 8, 12));
    const TBitmap stamp(19, 19, clBlack);
    canvas.CopyMode = cmSrcAnd;
    canvas.CopyRect(Rect(40, 30, 59, 49), stamp.Canvas(), Rect(0, 0, 19, 19));
    EXPECT_EQ(picture.ChangedArea(), Rect(40, 30, 50, 40)) << "clipped to the picture";
    canvas.SetPixel(3, 4, clBlack);
    EXPECT_EQ(picture.ChangedArea(), Rect(3, 4, 4, 5));
}
