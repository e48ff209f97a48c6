// Pictures too large for the memory left: Fish Data, both shadow loads, Rotate, Create Data and
// Accessory Data refuse them with the out-of-resources box before making anything, every window
// and file stays as it was, and the program carries on; memory that runs out anyway says the same.
#include "accessory/Unit5.h"
#include "app/Unit1.h"
#include "app/toolkit/Application.h"
#include "fish/Unit9.h"
#include "raster/Errors.h"
#include "rotate/Unit8.h"
#include "rotate/UpDownSheets.h"
#include "shadow/Unit3.h"
#include "support/BadFiles.h"
#include "support/DataWindowTest.h"
#include "support/FishWorkspace.h"
#include "support/GuiTestSupport.h"
#include "tests/support/MemoryLimit.h"

#include <QAction>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <new>

using namespace gui_test;

namespace {

const std::string kNoResources = ErrorBoxText(msg::kOutOfResources);

void Press(QWidget* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

class WorkspaceMemoryTest : public FishWorkspaceTest {};
class DataWindowMemoryTest : public DataWindowTest {};

} // namespace

TEST_F(WorkspaceMemoryTest, FishDataAndBothShadowLoadsRefuseAGiantAndTheOpenWorkspaceStaysWhole) {
    const FishPicture picture{60, 40, Rect(10, 8, 40, 30), QPoint(20, 12)};
    const std::string fish = WritePicture("fish.bmp", picture);
    OpenWorkspace(fish);
    RaiseEditor();
    Stroke(Shadow()->Image1, QPoint(30, 20), {QPoint(31, 20), QPoint(40, 24)});
    ASSERT_FALSE(DataSaved);
    const std::string giant = Path("giant.bmp");
    WriteText(giant, PlainGiantBmp());
    const TBitmap view = *Shadow()->Image1->Picture().Bitmap();
    const TBitmap shadow = *Shadow()->Image3->Picture().Bitmap();
    const auto before = FolderSnapshot(Folder());
    {
        MemoryLimit limit(kLimitHeadroom);
        // No question about the unsaved sheet: nothing is closed for a picture that cannot open.
        dialogs.ExpectOpen(giant);
        dialogs.ExpectError(kNoResources);
        Press(Form1->BitBtn2);
        RunPostedEvents();
        dialogs.ExpectOpen(giant);
        dialogs.ExpectError(kNoResources);
        Press(Shadow()->SpeedButton5);
        RunPostedEvents();
        dialogs.ExpectOpen(giant);
        dialogs.ExpectError(kNoResources);
        Shadow()->LoadShadowsInPlace1->trigger();
        RunPostedEvents();
    }
    dialogs.Verify();
    EXPECT_EQ(Form1->MDIChildCount(), 3);
    for (TForm* window : std::initializer_list<TForm*>{Fish(), Shadow(), Anim()}) {
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->Caption(), fish);
    }
    EXPECT_FALSE(DataSaved);
    EXPECT_FALSE(WorkspaceClosing);
    EXPECT_EQ(Shadow()->History->UndoSteps(), 1u) << "the stroke only";
    EXPECT_EQ(FirstDifference(*Shadow()->Image1->Picture().Bitmap(), view), "");
    EXPECT_EQ(FirstDifference(*Shadow()->Image3->Picture().Bitmap(), shadow), "");
    EXPECT_EQ(FirstDifference(*Fish()->Image1->Picture().Bitmap(), picture.Draw()), "");
    EXPECT_EQ(FolderSnapshot(Folder()), before);

    // The program goes on: Fish Data on a picture that fits asks about the old sheet and opens.
    const std::string next = WritePicture("next.bmp", picture);
    dialogs.ExpectOpen(next);
    dialogs.ExpectWarning(kCreateQuestion, TMsgResult::mrNo);
    Press(Form1->BitBtn2);
    RunPostedEvents();
    dialogs.Verify();
    ASSERT_NE(Fish(), nullptr);
    EXPECT_EQ(Fish()->Caption(), next);
}

TEST_F(WorkspaceMemoryTest, MemoryThatRunsOutInAHandlerShowsTheOutOfResourcesBox) {
    dialogs.ExpectError(kNoResources);
    Guarded([] { throw std::bad_alloc(); });
    dialogs.Verify();
    EXPECT_FALSE(Application->Terminated());
}

TEST_F(DataWindowMemoryTest, RotateCreateDataAndAccessoryDataRefuseAGiantAndKeepEverything) {
    const std::string giant = Path("giant.bmp");
    WriteText(giant, PlainGiantBmp());
    const UpDownNames names = UpDownFileNames(giant);
    WriteText(names.Up, "earlier up sheet");
    WriteText(names.Down, "earlier down sheet");

    // Opening a rotation window reads nothing; showing and Create Data refuse the sheet.
    TMDIRotate* rotation = OpenWith<TMDIRotate>(Form1->BitBtn3, giant);
    ASSERT_NE(rotation, nullptr);
    Form3->Show();
    const auto before = FolderSnapshot(Folder());
    {
        MemoryLimit limit(kLimitHeadroom);
        dialogs.ExpectError(kNoResources);
        Press(rotation->BitBtn1);
        dialogs.ExpectError(kNoResources);
        Press(rotation->SpeedButton1);
        // Accessory Data opens no window on it, and the pen settings window stays shown.
        dialogs.ExpectOpen(giant);
        dialogs.ExpectError(kNoResources);
        Press(Form1->BitBtn1);
        RunPostedEvents();
    }
    dialogs.Verify();
    EXPECT_TRUE(rotation->NeedsReload && rotation->Unsaved);
    EXPECT_TRUE(rotation->SourceBitmap.Empty());
    EXPECT_TRUE(rotation->Image1->Picture().Empty() && rotation->Image2->Picture().Empty());
    EXPECT_FALSE(rotation->SpeedButton1->testAttribute(Qt::WA_SetCursor)) << "no hourglass left";
    EXPECT_EQ(Form1->MDIChildCount(), 1);
    EXPECT_TRUE(Form3->isVisible());
    EXPECT_EQ(FolderSnapshot(Folder()), before);

    // The program goes on: an accessory picture that fits opens.
    auto* accessory = OpenWith<TMDIAcc>(Form1->BitBtn1, Write("rock.bmp", RockPicture()));
    ASSERT_NE(accessory, nullptr);
    EXPECT_EQ(accessory->Image2->Picture().Width(), RockPicture().Width());
    EXPECT_EQ(Form1->MDIChildCount(), 2);
}
