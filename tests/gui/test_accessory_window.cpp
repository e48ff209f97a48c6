// The accessory window through the main window's Accessory Data command: the pick with real
// mouse events, Save with its dialog and questions against velmora-batch, the close prompt.
#include "accessory/AccessoryCrop.h"
#include "accessory/Unit5.h"
#include "app/Unit1.h"
#include "app/toolkit/Application.h"
#include "raster/Errors.h"
#include "raster/TPicture.h"
#include "shadow/Unit3.h"
#include "support/DataWindowTest.h"
#include "support/GuiTestSupport.h"

#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <fstream>

using namespace gui_test;

namespace {

class AccessoryWindowTest : public DataWindowTest {
  protected:
    TMDIAcc* Open(const std::string& name = "tank.bmp", const TBitmap& picture = RockPicture()) {
        return OpenWith<TMDIAcc>(Form1->BitBtn1, Write(name, picture));
    }
    static void Pick(TMDIAcc* window, int x, int y) {
        QTest::mouseClick(window->Image2, Qt::LeftButton, {}, QPoint(x, y));
    }
    static TColor Swatch(TMDIAcc* window) {
        return window->Image1->Picture().Bitmap()->Pixel(10, 10);
    }
    static void Save(TMDIAcc* window) { QTest::mouseClick(window->SpeedButton1, Qt::LeftButton); }
    // The window's files equal velmora-batch's for the same picture and background.
    void ExpectWrittenAsBatchWrites(const AccessoryNames& written, const std::string& source,
                                    const std::vector<std::string>& background) {
        std::filesystem::create_directory(Path("batch"));
        const std::string output =
            Path("batch/" + std::filesystem::path(written.Picture).filename().string());
        std::vector<std::string> arguments = {"accessory", source, "-o", output};
        arguments.insert(arguments.end(), background.begin(), background.end());
        RunBatch(arguments);
        const AccessoryNames batch = AccessoryFileNames(output);
        EXPECT_EQ(FileDifference(written.Picture, batch.Picture), "");
        EXPECT_EQ(FileDifference(written.Mask, batch.Mask), "");
    }
};

} // namespace

TEST_F(AccessoryWindowTest, AccessoryDataOpensAWindowWithABlackSwatchAndHidesThePenWindow) {
    Form3->Show();
    dialogs.ExpectOpen(std::nullopt);
    QTest::mouseClick(Form1->BitBtn1, Qt::LeftButton);
    EXPECT_FALSE(Form3->Visible());
    Form3->Show();
    dialogs.ExpectOpen(Path("missing.bmp"));
    Form1->AccessoryData1->trigger();
    EXPECT_TRUE(Form3->Visible());
    EXPECT_EQ(Form1->MDIChildCount(), 0);

    TMDIAcc* window = Open();
    EXPECT_FALSE(Form3->Visible());
    EXPECT_EQ(window->Caption(), Path("tank.bmp"));
    EXPECT_TRUE(window->Unsaved);
    EXPECT_EQ(window->Image2->geometry(), QRect(0, 35, 30, 20));
    // The whole swatch is black, at the size it is shown.
    const TBitmap* swatch = window->Image1->Picture().Bitmap();
    ASSERT_NE(swatch, nullptr);
    EXPECT_EQ(QSize(swatch->Width(), swatch->Height()), QSize(37, 25));
    EXPECT_EQ(swatch->Pixel(10, 10), clBlack);
    EXPECT_EQ(swatch->Pixel(36, 24), clBlack);
    EXPECT_EQ(MenuTitles(Form1->MenuBarView()),
              (std::vector<std::string>{"File", "View", "Window"}));

    // A file that is no picture: the error box, and the window stays without one.
    Form3->Show();
    std::ofstream(Path("note.bmp")) << "not a picture";
    std::string message;
    try {
        TPicture().LoadFromFile(Path("note.bmp"));
    } catch (const std::exception& error) {
        message = error.what();
    }
    ASSERT_FALSE(message.empty());
    dialogs.ExpectOpen(Path("note.bmp"));
    dialogs.ExpectError(ErrorBoxText(message));
    QTest::mouseClick(Form1->BitBtn1, Qt::LeftButton);
    EXPECT_EQ(Form1->MDIChildCount(), 2);
    EXPECT_TRUE(qobject_cast<TMDIAcc*>(Form1->ActiveMDIChild())->Image2->Picture().Empty());
    EXPECT_TRUE(Form3->Visible());
}

TEST_F(AccessoryWindowTest, ReleasingAButtonOverThePicturePicksItsColourAndOutsideItNothing) {
    TMDIAcc* window = Open();
    window->Unsaved = false;
    Pick(window, 25, 3);
    EXPECT_EQ(Swatch(window), kRed);
    EXPECT_EQ(window->Image1->Picture().Bitmap()->Pixel(36, 24), kRed);
    EXPECT_TRUE(window->Unsaved);

    QTest::mouseClick(window->Image2, Qt::RightButton, {}, QPoint(1, 1));
    EXPECT_EQ(Swatch(window), kWater);

    window->Unsaved = false;
    QTest::mousePress(window->Image2, Qt::LeftButton, {}, QPoint(25, 3));
    QTest::mouseRelease(window->Image2, Qt::LeftButton, {}, QPoint(31, 3));
    EXPECT_EQ(Swatch(window), kWater);
    EXPECT_FALSE(window->Unsaved);
}

TEST_F(AccessoryWindowTest, SaveWithTheSwatchLeftBlackReplacesTheOpenedFileWithoutAsking) {
    const std::string source = Write("reef.bmp", RockPicture(clBlack));
    const std::string copy = Write("original.bmp", RockPicture(clBlack));
    TMDIAcc* window = OpenWith<TMDIAcc>(Form1->BitBtn1, source);
    dialogs.ExpectInformation(kImageFileDoneMessage);
    window->Save1->trigger();
    EXPECT_FALSE(window->Unsaved);
    ExpectWrittenAsBatchWrites(AccessoryFileNames(source), copy, {});
    EXPECT_EQ(window->Caption(), source);
}

TEST_F(AccessoryWindowTest, SaveWithAPickedColourAsksOnlyForTheExactSourceNameAndAnExistingMask) {
    TMDIAcc* window = Open();
    Pick(window, 1, 1);
    dialogs.ExpectSave(window->Caption());
    dialogs.ExpectWarning(kOverwriteSourcePrompt, TMsgResult::mrNo);
    Save(window);
    EXPECT_FALSE(Exists(Path("tankm.bmp")));

    std::filesystem::create_directory(Path("Out"));
    const AccessoryNames names = AccessoryFileNames(Path("Out/Rock.BMP"));
    EXPECT_EQ(names.Picture, Path("Out/rock.bmp"));
    dialogs.ExpectSave(Path("Out/Rock.BMP"));
    dialogs.ExpectInformation(kImageFileDoneMessage);
    Save(window);
    EXPECT_FALSE(window->Unsaved);
    ExpectWrittenAsBatchWrites(names, window->Caption(), {"--background", "1,1"});

    // The mask is there now: No leaves both files and the window's state as they were.
    Pick(window, 25, 3);
    std::filesystem::remove(names.Picture);
    dialogs.ExpectSave(Path("Out/Rock.BMP"));
    dialogs.ExpectWarning(MaskOverwritePrompt(names.Mask), TMsgResult::mrNo);
    Save(window);
    EXPECT_FALSE(Exists(names.Picture));
    EXPECT_TRUE(window->Unsaved);
    dialogs.ExpectSave(Path("Out/Rock.BMP"));
    dialogs.ExpectWarning(MaskOverwritePrompt(names.Mask), TMsgResult::mrYes);
    dialogs.ExpectInformation(kImageFileDoneMessage);
    Save(window);
    EXPECT_TRUE(Exists(names.Picture));
}

TEST_F(AccessoryWindowTest, APictureOfOnlyTheBackgroundIsReportedAndNothingIsWritten) {
    TMDIAcc* window = Open("plain.bmp", TBitmap(12, 8));
    Pick(window, 3, 3);
    dialogs.ExpectSave(Path("plain-out.bmp"));
    dialogs.ExpectError(ErrorBoxText(kNoAccessoryPixelMessage));
    Save(window);
    EXPECT_FALSE(Exists(Path("plain-out.bmp")));
    EXPECT_FALSE(Exists(Path("plain-outm.bmp")));
    EXPECT_TRUE(window->Unsaved);
}

TEST_F(AccessoryWindowTest, ClosingAsksWhileUnsavedAnAbandonedSaveClosesAndAFailedWriteDoesNot) {
    TMDIAcc* declined = Open("a.bmp");
    dialogs.ExpectWarning(kAccessoryClosePrompt, TMsgResult::mrNo);
    declined->Close1->trigger();
    RunPostedEvents();
    EXPECT_EQ(Form1->MDIChildCount(), 0);

    TMDIAcc* abandoned = Open("b.bmp");
    Pick(abandoned, 1, 1);
    dialogs.ExpectWarning(kAccessoryClosePrompt, TMsgResult::mrYes);
    dialogs.ExpectSave(std::nullopt);
    abandoned->Close();
    RunPostedEvents();
    EXPECT_EQ(Form1->MDIChildCount(), 0);

    TMDIAcc* saved = Open("c.bmp");
    Pick(saved, 1, 1);
    dialogs.ExpectSave(Path("c-out.bmp"));
    dialogs.ExpectInformation(kImageFileDoneMessage);
    Save(saved);
    saved->Close();
    RunPostedEvents();
    EXPECT_EQ(Form1->MDIChildCount(), 0);

    TMDIAcc* failed = Open("d.bmp");
    Pick(failed, 1, 1);
    const std::string unwritable = Path("no-folder/d.bmp");
    dialogs.ExpectWarning(kAccessoryClosePrompt, TMsgResult::mrYes);
    dialogs.ExpectSave(unwritable);
    dialogs.ExpectError(ErrorBoxText(EFCreateError(AccessoryFileNames(unwritable).Mask).what()));
    failed->Close1->trigger();
    RunPostedEvents();
    EXPECT_EQ(Form1->MDIChildCount(), 1);
    EXPECT_TRUE(failed->Unsaved);
    EXPECT_FALSE(failed->testAttribute(Qt::WA_SetCursor)) << "hourglass left on";
}
