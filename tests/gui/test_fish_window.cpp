// The fish window: its layout, the black swatch of a new window, picking the background colour
// with real clicks (also released outside the picture), and Save from the menu and the button.
#include "app/Unit1.h"
#include "app/toolkit/Application.h"
#include "fish/SheetComposer.h"
#include "fish/Unit9.h"
#include "raster/Bmp.h"
#include "support/FishWorkspace.h"
#include "support/GuiTestSupport.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace gui_test;

namespace {
class FishWindowTest : public FishWorkspaceTest {
  protected:
    void SetUp() override {
        FishWorkspaceTest::SetUp();
        OpenWorkspace(WritePicture("fish.bmp", picture));
        fish = Fish();
        ASSERT_NE(fish, nullptr);
    }
    void TearDown() override {
        CloseAllQuietly();
        FishWorkspaceTest::TearDown();
    }
    // Every swatch pixel, not only the one the composer reads.
    std::string SwatchDifference(TColor colour) {
        const TBitmap& swatch = fish->Image2->Canvas().Surface();
        if (swatch.Width() != 41 || swatch.Height() != 25) {
            return "size " + std::to_string(swatch.Width()) + "x" + std::to_string(swatch.Height());
        }
        return FirstDifference(swatch, TBitmap(41, 25, colour));
    }
    ByteStore SheetFor(TColor background) {
        TBitmap sheet;
        TBitmap white(picture.Width * 2, picture.Height * 2);
        ComposeFishSheet(picture.Draw(), background, white, white, 2, sheet);
        return EncodeBmp(sheet);
    }
    FishPicture picture{40, 30, Rect(10, 8, 30, 20), QPoint(12, 10)};
    TMDIFish* fish = nullptr;
};
} // namespace

TEST_F(FishWindowTest, NewWindowsSwatchIsBlackAllOver) {
    EXPECT_EQ(SwatchDifference(clBlack), "");
}

TEST_F(FishWindowTest, ReleaseOverThePictureFillsTheSwatchWithThatPixel) {
    Click(fish->Image1, QPoint(2, 2));
    EXPECT_EQ(SwatchDifference(picture.Background), "");
    // A fish colour can be picked as well; a second pick of the same colour changes nothing.
    Click(fish->Image1, QPoint(12, 10));
    EXPECT_EQ(SwatchDifference(picture.Spot), "");
    Click(fish->Image1, QPoint(12, 10));
    EXPECT_EQ(SwatchDifference(picture.Spot), "");
    EXPECT_FALSE(DataSaved);
}

TEST_F(FishWindowTest, ReleaseOutsideThePictureKeepsTheSwatch) {
    Click(fish->Image1, QPoint(2, 2));
    Release(fish->Image1, QPoint(5, 5), QPoint(45, 5));
    Release(fish->Image1, QPoint(5, 5), QPoint(-3, 40));
    Release(fish->Image1, QPoint(5, 5), QPoint(40, 29));
    EXPECT_EQ(SwatchDifference(picture.Background), "");
}

TEST_F(FishWindowTest, SaveFromMenuAndButtonWritesTheSheetOfThePickedBackground) {
    dialogs.ExpectSave(Path("black.bmp"));
    dialogs.ExpectInformation(kFinished);
    fish->Save1->trigger();
    EXPECT_EQ(FirstDifferingByte(FileBytes(Path("black.bmp")), SheetFor(clBlack)), "");
    EXPECT_TRUE(DataSaved);

    DataSaved = false;
    Click(fish->Image1, QPoint(39, 29));
    dialogs.ExpectSave(Path("picked.bmp"));
    dialogs.ExpectInformation(kFinished);
    QTest::mouseClick(fish->SpeedButton1, Qt::LeftButton);
    const ByteStore written = FileBytes(Path("picked.bmp"));
    EXPECT_EQ(written, SheetFor(picture.Background));
    // The box of the fish (20 x 12) makes a 40 x 24 sheet.
    const TBitmap sheet = DecodeBmp(written.data(), written.size());
    EXPECT_EQ(sheet.Width(), 40);
    EXPECT_EQ(sheet.Height(), 24);
    EXPECT_TRUE(DataSaved);
}

TEST_F(FishWindowTest, SaveWithoutAShadowEditorWritesNothingAndSaysNothing) {
    Shadow()->Free();
    dialogs.ExpectSave(Path("none.bmp"));
    fish->Save1->trigger();
    EXPECT_FALSE(FileExists(Path("none.bmp")));
    EXPECT_FALSE(DataSaved);
}
