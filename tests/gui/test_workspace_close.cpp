// Closing the fish workspace: one question for all three windows, what clears and what keeps the
// saved state, the save prompt's overwrite question, and a write that fails.
#include "app/Unit1.h"
#include "app/toolkit/Application.h"
#include "fish/SheetComposer.h"
#include "fish/Unit9.h"
#include "raster/Bmp.h"
#include "raster/Errors.h"
#include "shadow/Unit3.h"
#include "support/FishWorkspace.h"
#include "support/GuiTestSupport.h"

#include <QAction>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace gui_test;

namespace {
class WorkspaceCloseTest : public FishWorkspaceTest {
  protected:
    void SetUp() override {
        FishWorkspaceTest::SetUp();
        OpenWorkspace(WritePicture("fish.bmp", picture));
        RaiseEditor();
    }
    // Saves from the fish window without a question in between.
    void Save(const std::string& name) {
        dialogs.ExpectSave(Path(name));
        dialogs.ExpectInformation(kFinished);
        Fish()->Save1->trigger();
    }
    void PaintOnce() { Stroke(Shadow()->Image1, QPoint(30, 30), {QPoint(31, 30)}); }
    void ExpectAllClosed() {
        RunPostedEvents();
        EXPECT_EQ(Form1->MDIChildCount(), 0);
        EXPECT_TRUE(WorkspaceClosing);
    }
    FishPicture picture{50, 30, Rect(10, 6, 40, 24), QPoint(20, 10)};
};

// The close box of each window, its File > Close, and the preview reached by the tool-bar Exit.
enum class CloseWay { CloseBox, MenuClose };
struct CloseCase {
    const char* window;
    CloseWay way;
};

// The case as the test's name ends and as a failure shows it.
void PrintTo(const CloseCase& c, std::ostream* out) {
    *out << c.window << (c.way == CloseWay::CloseBox ? "CloseBox" : "MenuClose");
}
} // namespace

class WorkspaceCloseFromEachWindow : public WorkspaceCloseTest,
                                     public ::testing::WithParamInterface<CloseCase> {
  protected:
    void CloseOne() {
        const CloseCase c = GetParam();
        const std::string window = c.window;
        TForm* form = window == "fish"     ? static_cast<TForm*>(Fish())
                      : window == "shadow" ? static_cast<TForm*>(Shadow())
                                           : static_cast<TForm*>(Anim());
        if (c.way == CloseWay::CloseBox) {
            form->Frame()->close();
            return;
        }
        QAction* close = window == "fish"     ? Fish()->Close1
                         : window == "shadow" ? Shadow()->Close1
                                              : Anim()->Clase1;
        close->trigger();
    }
};

TEST_P(WorkspaceCloseFromEachWindow, AsksOnceAndClosesAllThree) {
    dialogs.ExpectWarning(kCreateQuestion, TMsgResult::mrNo);
    CloseOne();
    ExpectAllClosed();
    EXPECT_FALSE(Form3->Visible());
}

TEST_P(WorkspaceCloseFromEachWindow, AsksNothingAfterASave) {
    Save("saved.bmp");
    CloseOne();
    ExpectAllClosed();
}

TEST_P(WorkspaceCloseFromEachWindow, YesWritesTheComposedSheetWithoutAnnouncingIt) {
    PaintOnce();
    TBitmap expected;
    ASSERT_TRUE(MakeFishData(expected));
    dialogs.ExpectWarning(kCreateQuestion, TMsgResult::mrYes);
    dialogs.ExpectSave(Path("closing.bmp"));
    CloseOne();
    ExpectAllClosed();
    EXPECT_EQ(FirstDifferingByte(FileBytes(Path("closing.bmp")), EncodeBmp(expected)), "");
    EXPECT_FALSE(DataSaved);
}

INSTANTIATE_TEST_SUITE_P(Windows, WorkspaceCloseFromEachWindow,
                         ::testing::Values(CloseCase{"fish", CloseWay::CloseBox},
                                           CloseCase{"shadow", CloseWay::CloseBox},
                                           CloseCase{"anim", CloseWay::CloseBox},
                                           CloseCase{"fish", CloseWay::MenuClose},
                                           CloseCase{"shadow", CloseWay::MenuClose},
                                           CloseCase{"anim", CloseWay::MenuClose}),
                         ::testing::PrintToStringParamName());

TEST_F(WorkspaceCloseTest, OneStrokeAfterASaveMakesTheNextCloseAskAgain) {
    Save("saved.bmp");
    EXPECT_TRUE(DataSaved);
    PaintOnce();
    EXPECT_FALSE(DataSaved);
    dialogs.ExpectWarning(kCreateQuestion, TMsgResult::mrNo);
    Fish()->Close();
    ExpectAllClosed();
}

TEST_F(WorkspaceCloseTest, PickEraseAndLoadAfterASaveDoNotMakeTheCloseAsk) {
    Save("saved.bmp");
    Click(Fish()->Image1, QPoint(1, 1));
    // A press and release on a view without movement paints nothing.
    Click(Shadow()->Image1, QPoint(40, 20));
    QTest::mouseClick(Shadow()->SpeedButton4, Qt::LeftButton);
    dialogs.ExpectOpen(Path("saved.bmp"));
    QTest::mouseClick(Shadow()->SpeedButton5, Qt::LeftButton);
    EXPECT_TRUE(DataSaved);
    Shadow()->Close();
    ExpectAllClosed();
}

TEST_F(WorkspaceCloseTest, YesThenACancelledSaveDialogClosesWithoutWriting) {
    dialogs.ExpectWarning(kCreateQuestion, TMsgResult::mrYes);
    dialogs.ExpectSave(std::nullopt);
    Fish()->Close();
    ExpectAllClosed();
}

TEST_F(WorkspaceCloseTest, OverwriteQuestionOnlyForAnExistingFileAndNoWritesNothing) {
    const std::string existing = Write("existing.bmp", TBitmap(3, 3));
    const ByteStore before = FileBytes(existing);
    dialogs.ExpectSave(existing);
    dialogs.ExpectWarning(kOverwriteQuestion, TMsgResult::mrNo);
    Fish()->Save1->trigger();
    EXPECT_EQ(FileBytes(existing), before);
    EXPECT_FALSE(DataSaved);

    dialogs.ExpectSave(existing);
    dialogs.ExpectWarning(kOverwriteQuestion, TMsgResult::mrYes);
    dialogs.ExpectInformation(kFinished);
    Fish()->Save1->trigger();
    EXPECT_NE(FileBytes(existing), before);
    EXPECT_TRUE(DataSaved);
    // The dialog always opens with an empty name.
    EXPECT_EQ(dialogs.LastFileName, "");
    EXPECT_EQ(dialogs.LastFilter, "BMP File|*.bmp");
    CloseAllQuietly();
}

TEST_F(WorkspaceCloseTest, FailedWriteKeepsAllThreeOpenAndTheNextCloseAsksAgain) {
    const std::string unwritable = Path("no-such-folder/sheet.bmp");
    dialogs.ExpectWarning(kCreateQuestion, TMsgResult::mrYes);
    dialogs.ExpectSave(unwritable);
    dialogs.ExpectError(ErrorBoxText(EFCreateError(unwritable).what()));
    Fish()->Frame()->close();
    RunPostedEvents();
    EXPECT_EQ(Form1->MDIChildCount(), 3);
    EXPECT_FALSE(WorkspaceClosing);
    for (TForm* window : {static_cast<TForm*>(Fish()), static_cast<TForm*>(Shadow()),
                          static_cast<TForm*>(Anim())}) {
        EXPECT_FALSE(window->FreePending());
    }
    dialogs.ExpectWarning(kCreateQuestion, TMsgResult::mrNo);
    Anim()->Close();
    ExpectAllClosed();
}

TEST_F(WorkspaceCloseTest, FailedSaveKeepsTheSavedStateAndAnnouncesNothing) {
    const std::string unwritable = Path("no-such-folder/sheet.bmp");
    dialogs.ExpectSave(unwritable);
    dialogs.ExpectError(ErrorBoxText(EFCreateError(unwritable).what()));
    QTest::mouseClick(Shadow()->SpeedButton1, Qt::LeftButton);
    EXPECT_FALSE(DataSaved);
    CloseAllQuietly();
}

TEST_F(WorkspaceCloseTest, ToolBarExitClosesTheWorkspaceThroughThePreview) {
    dialogs.ExpectWarning(kCreateQuestion, TMsgResult::mrNo);
    QTest::mouseClick(Form1->BitBtn4, Qt::LeftButton);
    EXPECT_TRUE(Application->Terminated());
    ExpectAllClosed();
}
