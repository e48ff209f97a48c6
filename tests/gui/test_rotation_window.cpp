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
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <filesystem>

using namespace gui_test;

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
    // Files of velmora-batch for the same sheet and angle, in their own folder.
    UpDownNames BatchFiles(const std::string& sheet, int angle) {
        const std::string folder = Path("batch" + std::to_string(angle));
        std::filesystem::create_directory(folder);
        RunBatch({"rotate", sheet, "--angle", std::to_string(angle), "--out-dir", folder});
        const UpDownNames names = UpDownFileNames(sheet);
        return {folder + "/" + std::filesystem::path(names.Up).filename().string(),
                folder + "/" + std::filesystem::path(names.Down).filename().string()};
    }
    void ExpectWrittenAsBatchWrites(TMDIRotate* window, int angle) {
        const UpDownNames written = UpDownFileNames(window->Caption());
        const UpDownNames batch = BatchFiles(window->Caption(), angle);
        EXPECT_FALSE(FileBytes(written.Up).empty());
        EXPECT_EQ(FileBytes(written.Up), FileBytes(batch.Up)) << "angle " << angle;
        EXPECT_EQ(FileBytes(written.Down), FileBytes(batch.Down)) << "angle " << angle;
    }
};

bool SamePixels(const TBitmap& expected, const TBitmap* shown) {
    if (!shown || shown->Width() != expected.Width() || shown->Height() != expected.Height()) {
        return false;
    }
    for (int y = 0; y < expected.Height(); ++y) {
        if (!std::equal(expected.Row(y), expected.Row(y) + expected.Width(), shown->Row(y))) {
            return false;
        }
    }
    return true;
}

// The views hold the image quadrant of the sheet turned by `angle`, side by side under the
// panel.
void ExpectShownTurnedBy(TMDIRotate* window, const TBitmap& sheet, int angle) {
    TBitmap up, down;
    RotateQuadrant(sheet, angle, 0, up, down);
    EXPECT_TRUE(SamePixels(up, window->Image1->Picture().Bitmap())) << "up copy, angle " << angle;
    EXPECT_TRUE(SamePixels(down, window->Image2->Picture().Bitmap()))
        << "down copy, angle " << angle;
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

    TMDIRotate* first = Open("a.bmp");
    TMDIRotate* second = Open("b.bmp");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(ChildNames(Form1), (std::vector<std::string>{Path("b.bmp"), Path("a.bmp")}));
    EXPECT_TRUE(Form3->Visible());
    EXPECT_EQ(second->Edit1->Text(), "30");
    EXPECT_EQ(second->Angle, 0);
    EXPECT_TRUE(second->NeedsReload);
    EXPECT_TRUE(second->Unsaved);
    EXPECT_TRUE(second->Image1->Picture().Empty());
    EXPECT_TRUE(second->Image2->Picture().Empty());

    EXPECT_EQ(MenuTitles(Form1->MenuBarView()),
              (std::vector<std::string>{"File", "Rotate", "Window"}));
    EXPECT_EQ(second->Panel1->geometry(), QRect(0, 0, second->width(), 41));
    EXPECT_EQ(second->Edit1->geometry(), QRect(53, 10, 67, 20));
    EXPECT_EQ(second->SpeedButton1->geometry(), QRect(4, 3, 44, 33));
    EXPECT_EQ(second->BitBtn1->geometry(), QRect(128, 4, 99, 31));
    EXPECT_EQ(second->BitBtn1->text(), "Rotate");
    EXPECT_EQ(second->Edit1->toolTip(), QString::fromUtf8("回転の角度"));
    EXPECT_EQ(second->SpeedButton1->toolTip(), QString::fromUtf8("ﾃﾞｰﾀﾌｧｲﾙの作成"));
    EXPECT_EQ(second->BitBtn1->toolTip(), QString::fromUtf8("回転の実行"));
    EXPECT_EQ(second->Image1->toolTip(), QString::fromUtf8("上向きﾃﾞｰﾀ"));
    EXPECT_EQ(second->Image2->toolTip(), QString::fromUtf8("下向きﾃﾞｰﾀ"));
}

TEST_F(RotationWindowTest, EnterReadsTheAngleAndShowsItAndRotateWithoutReadingShowsNothingNew) {
    TMDIRotate* window = Open();
    const TBitmap sheet = FishSheet();
    Type(window, "45");
    Enter(window);
    EXPECT_EQ(window->Angle, 45);
    EXPECT_FALSE(window->NeedsReload);
    EXPECT_TRUE(window->Unsaved);
    ExpectShownTurnedBy(window, sheet, 45);

    // Nothing was read since, so the menu's Rotate does not reload the file that changed
    // meanwhile; the button takes the focus from the edit, which reads it, and so reloads.
    const TBitmap changed = FishSheet(RGB(0, 200, 0));
    Write("fish.bmp", changed);
    window->Rotate1->trigger();
    ExpectShownTurnedBy(window, sheet, 45);
    QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
    ExpectShownTurnedBy(window, changed, 45);
}

TEST_F(RotationWindowTest, AngleTextIsADecimalIntegerWithLeadingBlanksAndOneSignOrElseThirty) {
    TMDIRotate* window = Open();
    struct Case {
        const char* typed;
        int angle;
        const char* shown;
    };
    const Case cases[] = {
        {"abc", 30, "30"},
        {"", 30, "30"},
        {"  45", 45, "45"},
        {"45 ", 30, "30"},
        {"+7", 7, "7"},
        {"-30", -30, "-30"},
        {"4-5", 30, "30"},
        {"- 5", 30, "30"},
        {"--5", 30, "30"},
        {"2147483647", 2147483647, "2147483647"},
        {"-2147483648", -2147483647 - 1, "-2147483648"},
        {"2147483648", 30, "30"},
        {"007", 7, "7"},
    };
    for (const Case& c : cases) {
        window->Angle = 0;
        Type(window, c.typed);
        Enter(window);
        EXPECT_EQ(window->Angle, c.angle) << '"' << c.typed << '"';
        EXPECT_EQ(window->Edit1->Text(), c.shown) << '"' << c.typed << '"';
    }
}

TEST_F(RotationWindowTest, LeavingTheEditReadsTheAngleAndTheMenuItemShowsWithoutReading) {
    TMDIRotate* window = Open();
    const TBitmap sheet = FishSheet();
    Type(window, "60");
    // The button takes the focus, so the edit is read before the click shows the picture.
    QTest::mouseClick(window->BitBtn1, Qt::LeftButton);
    EXPECT_EQ(window->Angle, 60);
    ExpectShownTurnedBy(window, sheet, 60);

    Type(window, "x");
    window->Rotate1->trigger();
    EXPECT_EQ(window->Angle, 60);
    EXPECT_EQ(window->Edit1->Text(), "x");
    QTest::keyClick(window->Edit1, Qt::Key_Tab);
    EXPECT_EQ(window->Angle, 30);
    EXPECT_EQ(window->Edit1->Text(), "30");
    EXPECT_TRUE(window->NeedsReload);
    ExpectShownTurnedBy(window, sheet, 60);
    window->Rotate1->trigger();
    ExpectShownTurnedBy(window, sheet, 30);
}

TEST_F(RotationWindowTest, CreateDataWritesWhatVelmoraBatchWritesOnceUntilTheTextChanges) {
    TMDIRotate* window = Open("Fish01.BMP");
    Type(window, "30");
    Enter(window);
    CreateData(window);
    EXPECT_FALSE(window->Unsaved);
    ExpectWrittenAsBatchWrites(window, 30);
    EXPECT_TRUE(Exists(Path("Fish01u.bmp")));

    const UpDownNames names = UpDownFileNames(window->Caption());
    std::filesystem::remove(names.Up);
    std::filesystem::remove(names.Down);
    CreateData(window);
    EXPECT_FALSE(Exists(names.Up));
    EXPECT_FALSE(Exists(names.Down));

    // Any change of the text, even one that keeps the angle, asks for the data again.
    Type(window, "45");
    EXPECT_TRUE(window->Unsaved);
    dialogs.ExpectInformation(kUpDownDoneMessage);
    window->Save1->trigger();
    ExpectWrittenAsBatchWrites(window, 45);
    EXPECT_EQ(window->Angle, 45);
}

TEST_F(RotationWindowTest, MinusThirtyTurnsTheOtherWayInAWindowOfItsOwn) {
    TMDIRotate* plus = Open("plus.bmp");
    TMDIRotate* minus = Open("minus.bmp");
    Type(minus, "-30");
    CreateData(minus);
    CreateData(plus);
    const UpDownNames p = UpDownFileNames(plus->Caption());
    const UpDownNames m = UpDownFileNames(minus->Caption());
    EXPECT_EQ(FileBytes(m.Up), FileBytes(p.Down));
    EXPECT_EQ(FileBytes(m.Down), FileBytes(p.Up));
    EXPECT_NE(FileBytes(p.Up), FileBytes(p.Down));
}

TEST_F(RotationWindowTest, CreateDataOnAPictureNeverShownLoadsItWithTheAngleItReads) {
    TMDIRotate* window = Open();
    Type(window, "20");
    CreateData(window);
    ExpectWrittenAsBatchWrites(window, 20);
    ExpectShownTurnedBy(window, FishSheet(), 20);
}

TEST_F(RotationWindowTest, APictureWithoutAMaskIsReportedAndNothingIsWritten) {
    TMDIRotate* window = Open("white.bmp", TBitmap(20, 20));
    dialogs.ExpectError(ErrorBoxText(kNoBlackInMaskMessage));
    QTest::mouseClick(window->SpeedButton1, Qt::LeftButton);
    EXPECT_FALSE(Exists(UpDownFileNames(window->Caption()).Up));
    EXPECT_FALSE(Exists(UpDownFileNames(window->Caption()).Down));
    EXPECT_TRUE(window->Unsaved);
}

TEST_F(RotationWindowTest, ClosingAsksUntilTheDataIsCreatedAndAFailedWriteKeepsTheWindow) {
    TMDIRotate* declined = Open("declined.bmp");
    dialogs.ExpectWarning(kUpDownClosePrompt, TMsgResult::mrNo);
    declined->Close1->trigger();
    RunPostedEvents();
    EXPECT_EQ(Form1->MDIChildCount(), 0);
    EXPECT_FALSE(Exists(UpDownFileNames(Path("declined.bmp")).Up));

    TMDIRotate* accepted = Open("accepted.bmp");
    dialogs.ExpectWarning(kUpDownClosePrompt, TMsgResult::mrYes);
    dialogs.ExpectInformation(kUpDownDoneMessage);
    accepted->Close();
    RunPostedEvents();
    EXPECT_EQ(Form1->MDIChildCount(), 0);
    EXPECT_TRUE(Exists(UpDownFileNames(Path("accepted.bmp")).Down));

    TMDIRotate* created = Open("created.bmp");
    CreateData(created);
    created->Close();
    RunPostedEvents();
    EXPECT_EQ(Form1->MDIChildCount(), 0);

    // A folder in the way of the up sheet.
    TMDIRotate* blocked = Open("blocked.bmp");
    const std::string up = UpDownFileNames(blocked->Caption()).Up;
    std::filesystem::create_directory(up);
    dialogs.ExpectWarning(kUpDownClosePrompt, TMsgResult::mrYes);
    dialogs.ExpectError(ErrorBoxText(EFCreateError(up).what()));
    blocked->Close1->trigger();
    RunPostedEvents();
    EXPECT_EQ(Form1->MDIChildCount(), 1);
    EXPECT_TRUE(blocked->Unsaved);
}
