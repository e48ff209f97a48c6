// PNG pictures in the windows: the background swatch set to the transparent pixels' colour at
// once, and picture files handed on the command line opening the drop menu.
#include "accessory/AccessoryCrop.h"
#include "accessory/Unit5.h"
#include "app/CommandLine.h"
#include "app/Messages.h"
#include "app/Unit1.h"
#include "raster/Bmp.h"
#include "raster/TransparentKey.h"
#include "support/FishWorkspace.h"
#include "support/GuiTestSupport.h"
#include "tests/support/Files.h"
#include "tests/support/PngPictures.h"
#include "tests/support/Surfaces.h"

#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace gui_test;
using namespace test_support;

namespace {

class PngPictureTest : public FishWorkspaceTest {
  protected:
    void TearDown() override {
        CloseAllQuietly();
        FishWorkspaceTest::TearDown();
    }
    // The fish picture as a PNG file, its background transparent or not.
    std::string WritePng(const std::string& name, bool transparent) const {
        const TBitmap drawn = fish.Draw();
        WriteText(Path(name), TransparentPng(drawn, transparent ? fish.Background : clWhite));
        return Path(name);
    }
    // The picture a window must show: the background in magenta when it was transparent.
    TBitmap Shown(bool transparent) const {
        TBitmap shown = fish.Draw();
        for (int y = 0; transparent && y < shown.Height(); ++y) {
            for (int x = 0; x < shown.Width(); ++x) {
                if (shown.Pixel(x, y) == fish.Background) {
                    shown.SetPixel(x, y, kTransparentKey);
                }
            }
        }
        return shown;
    }
    FishPicture fish{60, 40, Rect(10, 10, 40, 30), QPoint(20, 20)};
};

struct SwatchCase {
    const char* name;
    bool accessory; // else Fish Data
    bool transparent;
};

class PngSwatchTest : public PngPictureTest, public ::testing::WithParamInterface<SwatchCase> {};

} // namespace

TEST_P(PngSwatchTest, TheSwatchTakesTheTransparentPixelsColourAtOnceAndAClickStillChangesIt) {
    const SwatchCase& param = GetParam();
    const std::string path = WritePng("fish.png", param.transparent);
    dialogs.ExpectOpen(path);
    QTest::mouseClick(param.accessory ? Form1->BitBtn1 : Form1->BitBtn2, Qt::LeftButton);
    RunPostedEvents();
    TImage* picture = nullptr;
    std::function<TColor()> swatch;
    if (param.accessory) {
        TMDIAcc* window = FindChild<TMDIAcc>();
        ASSERT_NE(window, nullptr);
        picture = window->Image2;
        swatch = [window] { return window->Image1->Canvas().Pixel(10, 10); };
    } else {
        ASSERT_NE(Fish(), nullptr);
        picture = Fish()->Image1;
        swatch = [this] { return Fish()->Image2->Canvas().Pixel(5, 5); };
    }
    EXPECT_EQ(FirstDifference(*picture->Picture().Bitmap(), Shown(param.transparent)), "");
    EXPECT_EQ(swatch(), param.transparent ? kTransparentKey : clBlack);
    QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(12, 12));
    EXPECT_EQ(swatch(), fish.Body);
}

INSTANTIATE_TEST_SUITE_P(Windows, PngSwatchTest,
                         ::testing::Values(SwatchCase{"FishDataOnTransparentPng", false, true},
                                           SwatchCase{"FishDataOnOpaquePng", false, false},
                                           SwatchCase{"AccessoryDataOnTransparentPng", true, true},
                                           SwatchCase{"AccessoryDataOnOpaquePng", true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PngPictureTest, PictureFilesOnTheCommandLineOpenTheDropMenuOnceAndTheRestIsSkipped) {
    const std::string png = WritePng("Fish.PNG", true);
    WriteText(Path("notes.txt"), "hello");
    const StartFiles files =
        SortStartFiles({png, Path("missing.bmp"), Path("notes.txt"), "--frobnicate"});
    EXPECT_EQ(files.Pictures, std::vector<std::string>{png});
    EXPECT_EQ(files.Skipped,
              (std::vector<std::string>{
                  "velmora: " + Path("missing.bmp") + ": no such file, skipped",
                  "velmora: " + Path("notes.txt") + ": not a BMP or PNG picture, skipped",
                  "velmora: --frobnicate: unknown option, skipped",
              }));

    Form1->OpenWhenShown({}); // no picture: no menu
    RunPostedEvents();
    dialogs.ExpectMenu({"Fish Data", "Rotate Fish Data", "Accessory Data"}, 0);
    Form1->OpenWhenShown(files.Pictures);
    EXPECT_EQ(Form1->MDIChildCount(), 0) << "nothing before the event loop runs";
    RunPostedEvents();
    ASSERT_NE(Fish(), nullptr);
    EXPECT_EQ(Fish()->Caption(), png);
    EXPECT_EQ(Fish()->Image2->Canvas().Pixel(5, 5), kTransparentKey);
}

TEST_F(PngPictureTest,
       AccessorySaveOfAnOpaquePngOnBlackWritesBmpFilesBesideItAskingBeforeReplacing) {
    const TBitmap rock = [] {
        TBitmap picture(30, 20, clBlack);
        picture.Canvas().Brush.Color = RGB(90, 90, 90);
        picture.Canvas().FillRect(Rect(5, 4, 25, 18));
        return picture;
    }();
    const std::string png = Path("Rock.png");
    WriteText(png, TransparentPng(rock, clWhite));
    for (const bool replacing : {false, true}) {
        dialogs.ExpectOpen(png);
        QTest::mouseClick(Form1->BitBtn1, Qt::LeftButton);
        RunPostedEvents();
        TMDIAcc* window = FindChild<TMDIAcc>();
        ASSERT_NE(window, nullptr);
        if (replacing) {
            dialogs.ExpectWarning(kOverwriteExistingPrompt, TMsgResult::mrNo);
        } else {
            dialogs.ExpectInformation(kImageFileDoneMessage);
        }
        const std::string before = FileText(Path("rock.bmp"));
        QTest::mouseClick(window->SpeedButton1, Qt::LeftButton);
        RunPostedEvents();
        dialogs.Verify();
        if (replacing) {
            EXPECT_EQ(FileText(Path("rock.bmp")), before) << "answered No: nothing written";
        } else {
            const AccessoryData cropped = CropAccessory(rock, clBlack);
            EXPECT_EQ(FirstDifference(ReadBmpFile(Path("rock.bmp")), cropped.Picture), "");
            EXPECT_EQ(FirstDifference(ReadBmpFile(Path("rockm.bmp")), cropped.Mask), "");
        }
        EXPECT_EQ(FileText(png), TransparentPng(rock, clWhite))
            << "the PNG itself is never written";
        CloseAllQuietly();
        RunPostedEvents();
    }
}
