// The rotation window through the main window's Rotate command: the angle edit driven by real
// key events, showing, Create Data against velmora-batch, and the close prompt.
#include "app/Unit1.h"
#include "app/toolkit/Application.h"
#include "raster/Bmp.h"
#include "raster/Errors.h"
#include "rotate/RotationTransform.h"
#include "rotate/Unit8.h"
#include "rotate/UpDownSheets.h"
#include "shadow/Unit3.h"
#include "support/DataWindowTest.h"
#include "support/GuiTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <filesystem>

using namespace gui_test;
namespace fs = std::filesystem;

namespace {

class RotationWindowTest : public DataWindowTest {
  protected:
    TMDIRotate* Open(const std::string& name = "fish.bmp", const TBitmap& sheet = FishSheet()) {
        return OpenWith<TMDIRotate>(Form1->BitBtn3, Write(name, sheet));
    }
    // Replaces the edit's text by typing, as the user does.
    static void Type(TMDIRotate* window, const std::string& text) {
        window->Edit1->setFocus();
        window->Edit1->selectAll();
        QTest::keyClick(window->Edit1, Qt::Key_Backspace);
        QTest::keyClicks(window->Edit1, QString::fromStdString(text));
    }
    static void Enter(TMDIRotate* window) { QTest::keyClick(window->Edit1, Qt::Key_Return); }
    void CreateData(TMDIRotate* window) {
        dialogs.ExpectInformation(kUpDownDoneMessage);
        QTest::mouseClick(window->SpeedButton1, Qt::LeftButton);
    }
    void ExpectWrittenAsBatchWrites(TMDIRotate* window, int angle) {
        const std::string folder = Path("batch" + std::to_string(angle));
        fs::create_directory(folder);
        RunBatch(
            {"rotate", window->Caption(), "--angle", std::to_string(angle), "--out-dir", folder});
        const UpDownNames written = UpDownFileNames(window->Caption());
        for (const std::string& file : {written.Up, written.Down}) {
            EXPECT_EQ(FileDifference(file, folder + "/" + fs::path(file).filename().string()), "")
                << file << " at " << angle;
        }
    }
};

// The views hold the image quadrant turned by `angle`, side by side under the panel.
void ExpectShownTurnedBy(TMDIRotate* window, const TBitmap& sheet, int angle) {
    TBitmap up, down;
    RotateQuadrant(sheet, angle, 0, up, down);
    ASSERT_FALSE(window->Image1->Picture().Empty());
    EXPECT_EQ(EncodeBmp(*window->Image1->Picture().Bitmap()), EncodeBmp(up)) << angle;
    EXPECT_EQ(EncodeBmp(*window->Image2->Picture().Bitmap()), EncodeBmp(down)) << angle;
    EXPECT_EQ(window->Image1->geometry(), QRect(0, 41, up.Width(), up.Height()));
    EXPECT_EQ(window->Image2->geometry(), QRect(up.Width(), 41, down.Width(), down.Height()));
}

} // namespace

TEST_F(RotationWindowTest, RotateOpensAnUnshownWindowPerExistingFileAndLeavesThePenWindowAlone) {
    Form3->Show();
    dialogs.ExpectOpen(std::nullopt);
    QTest::mouseClick(Form1->BitBtn3, Qt::LeftButton);
    dialogs.ExpectOpen(Path("missing.bmp"));
    Form1->RotationData1->trigger();
    EXPECT_EQ(Form1->MDIChildCount(), 0);

    Open("a.bmp");
    TMDIRotate* window = Open("b.bmp");
    EXPECT_EQ(ChildNames(Form1), (std::vector<std::string>{Path("b.bmp"), Path("a.bmp")}));
    EXPECT_TRUE(Form3->Visible());
    EXPECT_EQ(window->Edit1->Text(), "30");
    EXPECT_EQ(window->Angle, 0);
    EXPECT_TRUE(window->NeedsReload && window->Unsaved);
    EXPECT_TRUE(window->Image1->Picture().Empty() && window->Image2->Picture().Empty());
    EXPECT_EQ(MenuTitles(Form1->MenuBarView()),
              (std::vector<std::string>{"File", "View", "Rotate", "Window"}));
}

TEST_F(RotationWindowTest, EnterReadsTheAngleAndShowsItAndRotateWithoutReadingShowsNothingNew) {
    TMDIRotate* window = Open();
    Type(window, "45");
    Enter(window);
    EXPECT_EQ(window->Angle, 45);
    EXPECT_FALSE(window->NeedsReload);
    EXPECT_TRUE(window->Unsaved);
    ExpectShownTurnedBy(window, FishSheet(), 45);

    // The menu's Rotate does not reload the file that changed meanwhile; the button takes the
    // focus from the edit, which reads it, and so reloads.
    const TBitmap changed = FishSheet(RGB(0, 200, 0));
    Write("fish.bmp", changed);
    window->Rotate1->trigger();
    ExpectShownTurnedBy(window, FishSheet(), 45);
    QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
    ExpectShownTurnedBy(window, changed, 45);
}

TEST_F(RotationWindowTest, AngleTextIsADecimalIntegerWithLeadingBlanksAndOneSignOrElseThirty) {
    TMDIRotate* window = Open();
    const struct {
        const char* typed;
        int angle;
        const char* shown;
    } cases[] = {
        {"abc", 30, "30"},
        {"", 30, "30"},
        {"  45", 45, "45"},
        {"45 ", 30, "30"},
        {"+7", 7, "7"},
        {"-30", -30, "-30"},
        {"4-5", 30, "30"},
        {"- 5", 30, "30"},
        {"--5", 30, "30"},
        {"007", 7, "7"},
        {"2147483648", 30, "30"},
        {"2147483647", 2147483647, "2147483647"},
        {"-2147483648", -2147483647 - 1, "-2147483648"},
    };
    for (const auto& c : cases) {
        window->Angle = 0;
        Type(window, c.typed);
        Enter(window);
        EXPECT_EQ(window->Angle, c.angle) << '"' << c.typed << '"';
        EXPECT_EQ(window->Edit1->Text(), c.shown) << '"' << c.typed << '"';
    }
}

TEST_F(RotationWindowTest, LeavingTheEditReadsTheAngleAndTheMenuItemShowsWithoutReading) {
    TMDIRotate* window = Open();
    Type(window, "60");
    QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
    EXPECT_EQ(window->Angle, 60);
    ExpectShownTurnedBy(window, FishSheet(), 60);

    Type(window, "x");
    window->Rotate1->trigger();
    EXPECT_EQ(window->Angle, 60);
    QTest::keyClick(window->Edit1, Qt::Key_Tab);
    EXPECT_EQ(window->Angle, 30);
    EXPECT_EQ(window->Edit1->Text(), "30");
    ExpectShownTurnedBy(window, FishSheet(), 60);
    window->Rotate1->trigger();
    ExpectShownTurnedBy(window, FishSheet(), 30);
}

TEST_F(RotationWindowTest, AMenuOrAnotherWindowTakingTheFocusIsNoExitButTabToTheButtonIs) {
    TMDIRotate* window = Open();
    Enter(window);
    Type(window, "abc");
    // The picture on disk changes, so that a reload would show.
    Write("fish.bmp", FishSheet(RGB(0, 200, 0)));
    const auto expectUntouched = [&](const char* after) {
        EXPECT_EQ(window->Edit1->Text(), "abc") << after;
        EXPECT_FALSE(window->NeedsReload) << after;
    };

    // The window's File menu, opened in the frame's bar by a click and closed by Esc; Esc again
    // leaves the bar's keyboard mode and gives the focus back to the edit.
    QMenuBar* bar = Form1->MenuBarView();
    QMenu* file = bar->actions().front()->menu();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(file->menuAction()).center());
    ASSERT_TRUE(file->isVisible());
    QTest::keyClick(file, Qt::Key_Escape);
    ASSERT_FALSE(file->isVisible());
    QTest::keyClick(bar, Qt::Key_Escape);
    // The offscreen platform makes the popup the active window and leaves it so; the frame is
    // activated again as a desktop does when a popup closes.
    QApplication::processEvents();
    Form1->activateWindow();
    QApplication::processEvents();
    expectUntouched("the menu");

    // A click on the up and on the down picture, which take no focus.
    QTest::mouseClick(window->Image1, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(window->Image2, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(QApplication::focusWidget(), window->Edit1);
    expectUntouched("a click on the pictures");

    // Another window activated, then this one again.
    Open("other.bmp");
    window->BringToFront();
    ASSERT_EQ(Form1->ActiveMDIChild(), window);
    expectUntouched("another window");

    window->Rotate1->trigger();
    expectUntouched("the menu item");
    EXPECT_EQ(window->Angle, 30);
    ExpectShownTurnedBy(window, FishSheet(), 30);

    ASSERT_EQ(QApplication::focusWidget(), window->Edit1);
    QTest::keyClick(window->Edit1, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window->BitBtn1);
    EXPECT_EQ(window->Edit1->Text(), "30");
    EXPECT_TRUE(window->NeedsReload);
}

TEST_F(RotationWindowTest, CreateDataWritesWhatVelmoraBatchWritesOnceUntilTheTextChanges) {
    TMDIRotate* window = Open("Fish01.BMP");
    Enter(window);
    CreateData(window);
    EXPECT_FALSE(window->Unsaved);
    EXPECT_TRUE(Exists(Path("Fish01u.bmp")));
    ExpectWrittenAsBatchWrites(window, 30);

    const UpDownNames names = UpDownFileNames(window->Caption());
    fs::remove(names.Up);
    fs::remove(names.Down);
    CreateData(window);
    EXPECT_FALSE(Exists(names.Up) || Exists(names.Down));

    Type(window, "45");
    EXPECT_TRUE(window->Unsaved);
    dialogs.ExpectInformation(kUpDownDoneMessage);
    window->Save1->trigger();
    ExpectWrittenAsBatchWrites(window, 45);
}

TEST_F(RotationWindowTest, MinusThirtyTurnsTheOtherWay) {
    TMDIRotate* plus = Open("plus.bmp");
    TMDIRotate* minus = Open("minus.bmp");
    Type(minus, "-30");
    CreateData(minus);
    CreateData(plus);
    const UpDownNames p = UpDownFileNames(plus->Caption());
    const UpDownNames m = UpDownFileNames(minus->Caption());
    EXPECT_EQ(FileDifference(m.Up, p.Down), "");
    EXPECT_EQ(FileDifference(m.Down, p.Up), "");
    EXPECT_NE(FileDifference(p.Up, p.Down), "");
}

TEST_F(RotationWindowTest, CreateDataLoadsAPictureNeverShownAndRefusesOneWithoutAMask) {
    TMDIRotate* window = Open();
    Type(window, "20");
    CreateData(window);
    ExpectWrittenAsBatchWrites(window, 20);
    ExpectShownTurnedBy(window, FishSheet(), 20);

    TMDIRotate* blank = Open("white.bmp", TBitmap(20, 20));
    dialogs.ExpectError(ErrorBoxText(kNoBlackInMaskMessage));
    QTest::mouseClick(blank->SpeedButton1, Qt::LeftButton);
    EXPECT_FALSE(Exists(Path("whiteu.bmp")) || Exists(Path("whited.bmp")));
    EXPECT_TRUE(blank->Unsaved);
}

TEST_F(RotationWindowTest, ClosingAsksUntilTheDataIsCreatedAndAFailedWriteKeepsTheWindow) {
    TMDIRotate* declined = Open("declined.bmp");
    dialogs.ExpectWarning(kUpDownClosePrompt, TMsgResult::mrNo);
    declined->Close1->trigger();
    TMDIRotate* accepted = Open("accepted.bmp");
    dialogs.ExpectWarning(kUpDownClosePrompt, TMsgResult::mrYes);
    dialogs.ExpectInformation(kUpDownDoneMessage);
    accepted->Close();
    TMDIRotate* created = Open("created.bmp");
    CreateData(created);
    created->Close();
    RunPostedEvents();
    EXPECT_EQ(Form1->MDIChildCount(), 0);
    EXPECT_FALSE(Exists(Path("declinedu.bmp")));
    EXPECT_TRUE(Exists(Path("acceptedd.bmp")));

    TMDIRotate* blocked = Open("blocked.bmp");
    fs::create_directory(Path("blockedu.bmp"));
    dialogs.ExpectWarning(kUpDownClosePrompt, TMsgResult::mrYes);
    dialogs.ExpectError(ErrorBoxText(EFCreateError(Path("blockedu.bmp")).what()));
    blocked->Close1->trigger();
    RunPostedEvents();
    EXPECT_EQ(Form1->MDIChildCount(), 1);
    EXPECT_TRUE(blocked->Unsaved);
    EXPECT_FALSE(blocked->SpeedButton1->testAttribute(Qt::WA_SetCursor)) << "hourglass left on";
}
