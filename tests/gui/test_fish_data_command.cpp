// The Fish Data command: the zoom rule, the four surfaces, the views' layout, the creation order
// with its activations, opening over an open workspace, and a picture that cannot be read.
#include "app/Unit1.h"
#include "app/toolkit/Application.h"
#include "fish/Unit9.h"
#include "raster/Errors.h"
#include "shadow/Unit3.h"
#include "support/FishWorkspace.h"
#include "support/GuiTestSupport.h"
#include "support/TestWindows.h"

#include <QAction>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

using namespace gui_test;

namespace {
class FishDataCommandTest : public FishWorkspaceTest {
  protected:
    // Opens a plain picture of that size and checks the editor's surfaces and layout.
    void ExpectSetUp(int w, int h, int zoom, QPoint secondView) {
        SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
        FishPicture picture{w, h};
        picture.Fish = Rect(w / 4, h / 4, w / 2, h / 2);
        picture.SpotAt = QPoint(w / 4, h / 4);
        OpenWorkspace(WritePicture("p.bmp", picture));
        ::TMDIShadow* shadow = Shadow();
        ASSERT_NE(shadow, nullptr);
        EXPECT_EQ(shadow->Zoomed, zoom == 2);
        for (const TBitmap* surface : {shadow->ViewBitmap1.get(), shadow->ViewBitmap2.get(),
                                       shadow->ShadowBitmap1.get(), shadow->ShadowBitmap2.get()}) {
            EXPECT_EQ(surface->Width(), zoom * w);
            EXPECT_EQ(surface->Height(), zoom * h);
        }
        const QSize size(zoom * w, zoom * h);
        for (TImage* image : {shadow->Image1, shadow->Image2, shadow->Image3, shadow->Image4}) {
            EXPECT_EQ(image->size(), size);
        }
        EXPECT_EQ(shadow->Image1->pos(), QPoint(0, 38));
        EXPECT_EQ(shadow->Image2->pos(), secondView);
        EXPECT_FALSE(shadow->Image3->isVisible());
        EXPECT_FALSE(shadow->Image4->isVisible());
        // Views hold the picture stretched; shadows start white.
        const TBitmap plain = picture.Draw();
        TBitmap white(zoom * w, zoom * h);
        EXPECT_EQ(FirstDifference(*shadow->Image1->Picture().Bitmap(), ViewOf(plain, zoom, white)),
                  "");
        EXPECT_EQ(FirstDifference(*shadow->Image4->Picture().Bitmap(), white), "");
        CloseAllQuietly();
    }
};
} // namespace

TEST_F(FishDataCommandTest, ZoomRuleDecidesTheSurfaceSizes) {
    ExpectSetUp(149, 109, 2, QPoint(298, 38));
    ExpectSetUp(150, 50, 1, QPoint(0, 38 + 50));
    ExpectSetUp(100, 110, 1, QPoint(100, 38));
}

TEST_F(FishDataCommandTest, SecondViewGoesBelowOnlyForPicturesMoreThanTwiceAsWideAsHigh) {
    ExpectSetUp(100, 49, 2, QPoint(0, 38 + 98));
    ExpectSetUp(100, 50, 2, QPoint(200, 38));
    ExpectSetUp(100, 40, 2, QPoint(0, 38 + 80));
    ExpectSetUp(320, 100, 1, QPoint(0, 38 + 100));
}

TEST_F(FishDataCommandTest, CreatesPreviewEditorAndFishWindowInOrderWithTheFishInFront) {
    FishPicture picture{40, 30};
    picture.Fish = Rect(5, 5, 20, 20);
    const std::string path = WritePicture("fish.bmp", picture);
    OpenWorkspace(path);
    ASSERT_EQ(Form1->MDIChildCount(), 3);
    EXPECT_NE(qobject_cast<::TMDIFish*>(Form1->MDIChildren(0)), nullptr);
    EXPECT_NE(qobject_cast<::TMDIShadow*>(Form1->MDIChildren(1)), nullptr);
    EXPECT_NE(qobject_cast<::TMDIAnim*>(Form1->MDIChildren(2)), nullptr);
    EXPECT_EQ(Form1->ActiveMDIChild(), Fish());
    EXPECT_EQ(ChildNames(Form1), (std::vector<std::string>{path, path, path}));
    // The editor's activation showed the pen window, the fish window's hid it again.
    EXPECT_FALSE(Form3->Visible());
    EXPECT_EQ(FirstDifference(*Fish()->Image1->Picture().Bitmap(), picture.Draw()), "");
    EXPECT_FALSE(DataSaved);
    EXPECT_FALSE(WorkspaceClosing);
    // The menu bar shows the fish window's menu.
    EXPECT_EQ(MenuTitles(Form1->MenuBarView()),
              (std::vector<std::string>{"File", "View", "Shadow Pattern", "Animation", "Window"}));
}

TEST_F(FishDataCommandTest, CancelledOrVanishedChoiceLeavesTheOldWorkspace) {
    FishPicture picture{40, 30};
    picture.Fish = Rect(5, 5, 20, 20);
    OpenWorkspace(WritePicture("fish.bmp", picture));
    ::TMDIFish* fish = Fish();
    dialogs.ExpectOpen(std::nullopt);
    QTest::mouseClick(Form1->BitBtn2, Qt::LeftButton);
    dialogs.ExpectOpen(Path("gone.bmp"));
    Form1->FishData1->trigger();
    RunPostedEvents();
    EXPECT_EQ(Form1->MDIChildCount(), 3);
    EXPECT_EQ(Fish(), fish);
}

TEST_F(FishDataCommandTest, OverAnOpenWorkspaceAsksAboutTheOldOneAndClosesEveryChild) {
    FishPicture first{40, 30};
    first.Fish = Rect(5, 5, 20, 20);
    OpenWorkspace(WritePicture("first.bmp", first));
    new TTestChild("rotate");
    new TTestChild("accessory");
    FishPicture second{60, 20};
    second.Fish = Rect(10, 2, 50, 18);
    const std::string path = WritePicture("second.bmp", second);
    dialogs.ExpectOpen(path);
    // Asked once for the whole old workspace, whichever of its windows closes first.
    dialogs.ExpectWarning(kCreateQuestion, TMsgResult::mrNo);
    QTest::mouseClick(Form1->BitBtn2, Qt::LeftButton);
    RunPostedEvents();
    EXPECT_EQ(ChildNames(Form1), (std::vector<std::string>{path, path, path}));
    EXPECT_EQ(Shadow()->PictureBitmap->Width(), 60);
    EXPECT_FALSE(WorkspaceClosing);
    EXPECT_FALSE(DataSaved);
}

TEST_F(FishDataCommandTest, FirstFishDataAsksNothingAndSavedWorkspaceIsReplacedSilently) {
    FishPicture picture{40, 30};
    picture.Fish = Rect(5, 5, 20, 20);
    const std::string path = WritePicture("fish.bmp", picture);
    OpenWorkspace(path); // the script holds no question: none may be asked
    DataSaved = true;
    OpenWorkspace(path);
    RunPostedEvents();
    EXPECT_EQ(Form1->MDIChildCount(), 3);
    EXPECT_FALSE(DataSaved);
}

TEST_F(FishDataCommandTest, UnreadablePictureLeavesPreviewAndEditorWithoutAFishWindow) {
    const std::string path = Path("broken.bmp");
    WriteText(path, std::string(64, 'x'));
    dialogs.ExpectOpen(path);
    dialogs.ExpectError(ErrorBoxText(EInvalidGraphic().what()));
    QTest::mouseClick(Form1->BitBtn2, Qt::LeftButton);
    RunPostedEvents();
    ASSERT_EQ(Form1->MDIChildCount(), 2);
    EXPECT_EQ(Fish(), nullptr);
    EXPECT_EQ(Shadow()->Caption(), path);
    // Closing either asks; without a fish window nothing can be written, yet both close.
    dialogs.ExpectWarning(kCreateQuestion, TMsgResult::mrYes);
    dialogs.ExpectSave(Path("out.bmp"));
    Anim()->Close();
    RunPostedEvents();
    EXPECT_EQ(Form1->MDIChildCount(), 0);
    EXPECT_FALSE(FileExists(Path("out.bmp")));
}

TEST_F(FishDataCommandTest, BmpPictureNamedOtherwiseOpensAllThreeWithoutAFishPicture) {
    FishPicture picture{40, 30};
    picture.Fish = Rect(5, 5, 20, 20);
    const std::string path = WritePicture("fish.pic", picture);
    dialogs.ExpectOpen(path);
    dialogs.ExpectError(ErrorBoxText(EInvalidGraphicFormat("pic").what()));
    QTest::mouseClick(Form1->BitBtn2, Qt::LeftButton);
    RunPostedEvents();
    ASSERT_EQ(Form1->MDIChildCount(), 3);
    EXPECT_TRUE(Fish()->Image1->Picture().Empty());
    EXPECT_EQ(Shadow()->PictureBitmap->Width(), 40);
    // No fish picture, no sheet: Save writes nothing and announces nothing.
    dialogs.ExpectSave(Path("out.bmp"));
    Fish()->Save1->trigger();
    EXPECT_FALSE(FileExists(Path("out.bmp")));
    CloseAllQuietly();
}

TEST_F(FishDataCommandTest, FailedWriteOfTheOldSheetStopsTheCommandWithTheOldWorkspaceOpen) {
    FishPicture first(40, 30);
    first.Fish = Rect(5, 5, 20, 20);
    const std::string old = WritePicture("first.bmp", first);
    OpenWorkspace(old);
    const std::string unwritable = Path("no-such-folder/sheet.bmp");
    dialogs.ExpectOpen(WritePicture("second.bmp", first));
    dialogs.ExpectWarning(kCreateQuestion, TMsgResult::mrYes);
    dialogs.ExpectSave(unwritable);
    dialogs.ExpectError(ErrorBoxText(EFCreateError(unwritable).what()));
    QTest::mouseClick(Form1->BitBtn2, Qt::LeftButton);
    RunPostedEvents();
    EXPECT_EQ(ChildNames(Form1), (std::vector<std::string>{old, old, old}));
    EXPECT_FALSE(WorkspaceClosing);
    CloseAllQuietly();
}
