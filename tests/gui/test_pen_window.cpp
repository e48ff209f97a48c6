// The pen settings window: its layout, the stamp each slider example draws into its client area
// and into the editors' pen copies, its placement on every show, shown and hidden by the
// workspace windows' activations, and strokes taking exactly the stamp it shows.
#include "app/Unit1.h"
#include "fish/Unit9.h"
#include "shadow/Unit3.h"
#include "support/FishWorkspace.h"
#include "support/GuiTestSupport.h"

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <tuple>

using namespace gui_test;

namespace {
TColor Grey(int v) {
    return RGB(v, v, v);
}

class PenWindowTest : public FishWorkspaceTest {
  protected:
    void SetUp() override {
        FishWorkspaceTest::SetUp();
        FishPicture picture{60, 40};
        picture.Fish = Rect(0, 0, 60, 40);
        picture.Body = RGB(255, 255, 255);
        OpenWorkspace(WritePicture("white.bmp", picture));
        // The editor in front: the pen window is shown beside it.
        Fish()->ShadowPattern1->trigger();
        RunPostedEvents();
    }
    void TearDown() override {
        CloseAllQuietly();
        FishWorkspaceTest::TearDown();
    }
    TColor StampPixel(int x, int y) { return Form3->Canvas().Pixel(x, y); }
    // Every pixel of the 50 x 50 stamp area.
    std::string StampDifference(const std::function<int(int, int)>& grey) {
        for (int y = 0; y < 50; ++y) {
            for (int x = 0; x < 50; ++x) {
                if (StampPixel(x, y) != Grey(grey(x, y))) {
                    return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
                }
            }
        }
        return "";
    }
    static bool InDisc(int x, int y, int m) {
        const double cx = x + 0.5 - 25;
        const double cy = y + 0.5 - 25;
        return cx * cx + cy * cy < m * m;
    }
};
} // namespace

TEST_F(PenWindowTest, DefaultPenDrawsRingsDownToA183CentreAndCopiesItToTheEditor) {
    EXPECT_EQ(Form3->PenWidth, 20);
    EXPECT_EQ(Form3->CenterSize, 8);
    EXPECT_EQ(Form3->PenDensity, 75);
    EXPECT_EQ(StampDifference([](int x, int y) { return DefaultStampGrey(x - 25, y - 25); }), "");
    const TBitmap& pen = *Shadow()->PenBitmap;
    ASSERT_EQ(pen.Width(), 20);
    ASSERT_EQ(pen.Height(), 20);
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) {
            ASSERT_EQ(pen.Pixel(x, y), StampPixel(15 + x, 15 + y)) << x << ", " << y;
        }
    }
    // The window shows on screen what its surface holds.
    const QImage shown = Form3->grab().toImage();
    EXPECT_EQ(shown.pixelColor(25, 25), QColor(183, 183, 183));
    EXPECT_EQ(shown.pixelColor(16, 25), QColor(243, 243, 243));
}

TEST_F(PenWindowTest, WidthSliderAloneKeepsTheCentreInPixels) {
    Form3->ScrollBar1->setValue(10);
    EXPECT_EQ(Form3->CenterSize, 8);
    // step 75 div 2 = 37: the m = 5 disc white, the m = 4 centre 255 - 74.
    EXPECT_EQ(StampDifference([](int x, int y) { return InDisc(x, y, 4) ? 181 : 255; }), "");
    EXPECT_EQ(Shadow()->PenBitmap->Width(), 10);
    // The centre slider recomputes it from both positions.
    Form3->ScrollBar2->setValue(11);
    EXPECT_EQ(Form3->CenterSize, 4);
}

TEST_F(PenWindowTest, FullCentreIsOneRingOfTheWholeDensity) {
    Form3->ScrollBar1->setValue(50);
    Form3->ScrollBar2->setValue(25);
    Form3->ScrollBar3->setValue(255);
    EXPECT_EQ(Form3->CenterSize, 50);
    EXPECT_EQ(StampDifference([](int x, int y) { return InDisc(x, y, 24) ? 0 : 255; }), "");
    EXPECT_NE(StampPixel(0, 25), StampPixel(1, 25));
    EXPECT_EQ(Shadow()->PenBitmap->Width(), 50);
}

TEST_F(PenWindowTest, TooLowADensityOrNoWidthGivesAPlainWhiteStampThatPaintsNothing) {
    // Width 50, centre 1 (2 pixels), density 10: step 10 div 48 = 0. Then width 0.
    for (const auto& [width, centre, density, penWidth] :
         {std::tuple{50, 1, 10, 50}, std::tuple{0, 1, 10, 0}}) {
        Form3->ScrollBar1->setValue(width);
        Form3->ScrollBar2->setValue(centre);
        Form3->ScrollBar3->setValue(density);
        EXPECT_EQ(StampDifference([](int, int) { return 255; }), "") << width;
        EXPECT_EQ(Shadow()->PenBitmap->Width(), penWidth);
        EXPECT_EQ(Shadow()->PenBitmap->Height(), penWidth);
        const TBitmap before = *Shadow()->Image3->Picture().Bitmap();
        Stroke(Shadow()->Image1, QPoint(30, 30), {QPoint(31, 30)});
        EXPECT_EQ(FirstDifference(*Shadow()->Image3->Picture().Bitmap(), before), "") << width;
    }
    EXPECT_EQ(Form3->CenterSize, 2); // the width slider alone left it as the first pen had it
}

TEST_F(PenWindowTest, NarrowPenUnderALeftOverCentreKeepsOneDarkDisc) {
    Form3->ScrollBar1->setValue(5);
    EXPECT_EQ(Form3->CenterSize, 8);
    EXPECT_EQ(StampDifference([](int x, int y) { return InDisc(x, y, 2) ? 180 : 255; }), "");
    // The 4-pixel source square is stretched over the 5 x 5 copy.
    EXPECT_EQ(Shadow()->PenBitmap->Width(), 5);
    EXPECT_EQ(Shadow()->PenBitmap->Pixel(2, 2), Grey(180));
}

TEST_F(PenWindowTest, StrokesStampWhatTheWindowShowsEvenWhileItIsHidden) {
    Form3->ScrollBar1->setValue(50);
    Form3->ScrollBar2->setValue(25);
    Form3->ScrollBar3->setValue(255);
    Form3->Hide();
    Stroke(Shadow()->Image1, QPoint(59, 39), {QPoint(60, 40)});
    const TBitmap& shadow = *Shadow()->Image3->Picture().Bitmap();
    // h = 25: the 49-pixel square from the stamp area's (1, 1), laid with its centre on (60, 40).
    for (int dy = -24; dy <= 24; ++dy) {
        for (int dx = -24; dx <= 24; ++dx) {
            ASSERT_EQ(shadow.Pixel(60 + dx, 40 + dy), StampPixel(25 + dx, 25 + dy))
                << dx << ", " << dy;
        }
    }
    EXPECT_EQ(shadow.Pixel(60 + 25, 40), Grey(255));
    EXPECT_EQ(shadow.Pixel(60, 40), Grey(0));
}

TEST_F(PenWindowTest, ActivationsShowAndHideItAndEveryShowPlacesItAtTheFramesTopRight) {
    EXPECT_TRUE(Form3->Visible());
    const auto placed = [] {
        return Form3->Top() == Form1->Top() &&
               Form3->Left() + Form3->Width() == Form1->Left() + Form1->Width();
    };
    EXPECT_TRUE(placed());
    Form3->SetBounds(5, 5, Form3->Width(), Form3->Height());
    ASSERT_FALSE(placed());
    // The fish window's activation hides it, the preview's too, the editor's shows it again.
    QTest::mouseClick(Shadow()->SpeedButton2, Qt::LeftButton);
    EXPECT_FALSE(Form3->Visible());
    Fish()->ShadowPattern1->trigger();
    EXPECT_TRUE(Form3->Visible());
    EXPECT_TRUE(placed());
    Shadow()->Animation1->trigger();
    EXPECT_FALSE(Form3->Visible());
    // The slider positions are kept while hidden and read again when shown.
    Form3->ScrollBar1->setValue(30);
    Form3->ScrollBar2->setValue(5);
    Shadow()->BringToFront();
    EXPECT_TRUE(Form3->Visible());
    EXPECT_EQ(Form3->CenterSize, 6);
    // The editor's destruction hides it.
    CloseAllQuietly();
    EXPECT_FALSE(Form3->Visible());
}
