// Rotation and accessory windows open side by side, and the two exits and Fish Data of the main
// window over them.
#include "accessory/Unit5.h"
#include "app/Unit1.h"
#include "app/toolkit/Application.h"
#include "fish/Unit4.h"
#include "raster/Errors.h"
#include "rotate/Unit8.h"
#include "rotate/UpDownSheets.h"
#include "support/DataWindowTest.h"
#include "support/GuiTestSupport.h"

#include <QAction>
#include <QPushButton>
#include <QTest>
#include <filesystem>

using namespace gui_test;

namespace {
class DataWindowsTest : public DataWindowTest {
  protected:
    void SetUp() override {
        DataWindowTest::SetUp();
        first = OpenWith<TMDIRotate>(Form1->BitBtn3, Write("first.bmp", FishSheet()));
        rock = OpenWith<TMDIAcc>(Form1->BitBtn1, Write("rock.bmp", RockPicture()));
        second = OpenWith<TMDIRotate>(Form1->BitBtn3, Write("second.bmp", FishSheet(kRed)));
    }
    TMDIRotate* first = nullptr;
    TMDIAcc* rock = nullptr;
    TMDIRotate* second = nullptr;
};
} // namespace

TEST_F(DataWindowsTest, ToolBarExitGivesEveryWindowItsPromptFromTheBackOfTheListThenEnds) {
    dialogs.ExpectWarning(kUpDownClosePrompt, TMsgResult::mrYes);
    dialogs.ExpectInformation(kUpDownDoneMessage);
    dialogs.ExpectWarning(kAccessoryClosePrompt, TMsgResult::mrNo);
    dialogs.ExpectWarning(kUpDownClosePrompt, TMsgResult::mrNo);
    QTest::mouseClick(Form1->BitBtn4, Qt::LeftButton);
    EXPECT_TRUE(Application->Terminated());
    EXPECT_TRUE(Exists(UpDownFileNames(Path("first.bmp")).Down));
    EXPECT_FALSE(Exists(UpDownFileNames(Path("second.bmp")).Down));
}

TEST_F(DataWindowsTest, MenuExitEndsWithoutAQuestionLeavingTheWorkUnwritten) {
    Form1->Exit1->trigger();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(Form1->MDIChildCount(), 3);
    EXPECT_FALSE(Exists(UpDownFileNames(Path("first.bmp")).Up));
}

TEST_F(DataWindowsTest, AWriteThatFailsInAClosePromptStopsTheToolBarExit) {
    const std::string up = UpDownFileNames(first->Caption()).Up;
    std::filesystem::create_directory(up);
    dialogs.ExpectWarning(kUpDownClosePrompt, TMsgResult::mrYes);
    dialogs.ExpectError(ErrorBoxText(EFCreateError(up).what()));
    QTest::mouseClick(Form1->BitBtn4, Qt::LeftButton);
    RunPostedEvents();
    EXPECT_FALSE(Application->Terminated());
    EXPECT_EQ(Form1->MDIChildCount(), 3);
}

TEST_F(DataWindowsTest, FishDataClosesEveryWindowWithItsPromptBeforeOpeningTheWorkspace) {
    const std::string picture = Write("fish.bmp", RockPicture());
    dialogs.ExpectOpen(picture);
    dialogs.ExpectWarning(kUpDownClosePrompt, TMsgResult::mrYes);
    dialogs.ExpectInformation(kUpDownDoneMessage);
    dialogs.ExpectWarning(kAccessoryClosePrompt, TMsgResult::mrNo);
    dialogs.ExpectWarning(kUpDownClosePrompt, TMsgResult::mrNo);
    QTest::mouseClick(Form1->BitBtn2, Qt::LeftButton);
    RunPostedEvents();
    EXPECT_EQ(dialogs.Pending(), 0u);
    EXPECT_TRUE(Exists(UpDownFileNames(Path("first.bmp")).Down));
    EXPECT_FALSE(Exists(UpDownFileNames(Path("second.bmp")).Down));
    ASSERT_EQ(Form1->MDIChildCount(), 3);
    EXPECT_NE(qobject_cast<TMDIFish*>(Form1->MDIChildren(0)), nullptr);
    EXPECT_EQ(Form1->MDIChildren(0)->Caption(), picture);
}
