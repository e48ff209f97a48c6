// The shadow editor's Edit menu driven by real keys, menu clicks and strokes: undo and redo
// through strokes, Erase and Load shadows, exact pixels at every step, the redo a new stroke
// drops, the menu's states, DataSaved, the history limit, and shadows loaded back in place.
#include "app/Unit1.h"
#include "app/toolkit/Application.h"
#include "fish/Unit9.h"
#include "shadow/ShadowsInPlace.h"
#include "support/FishWorkspace.h"
#include "support/GuiTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolButton>
#include <array>
#include <filesystem>

using namespace gui_test;
namespace fs = std::filesystem;

namespace {

using Surfaces = std::array<TBitmap, 4>; // view 1, view 2, shadow 1, shadow 2

class ShadowUndoTest : public FishWorkspaceTest {
  protected:
    void Open(int width, int height, const std::string& name = "fish.bmp") {
        picture = FishPicture(width, height);
        picture.Fish = Rect(width / 4, height / 5, width * 3 / 4, height * 4 / 5);
        picture.SpotAt = QPoint(width / 2, height / 2);
        OpenWorkspace(WritePicture(name, picture));
        editor = Shadow();
        ASSERT_NE(editor, nullptr);
        // The background picked in the fish window, so the fish's box is the body's.
        Click(Fish()->Image1, QPoint(0, 0));
        RaiseEditor();
    }
    // Copies share the pixels until the editor draws, so each is what the editor held then.
    Surfaces Now() const {
        return {*editor->Image1->Picture().Bitmap(), *editor->Image2->Picture().Bitmap(),
                *editor->Image3->Picture().Bitmap(), *editor->Image4->Picture().Bitmap()};
    }
    void ExpectNow(const Surfaces& expected, const std::string& when) const {
        const Surfaces now = Now();
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(FirstDifference(now[i], expected[i]), "") << when << ", surface " << i;
        }
    }
    // A click on the Edit menu of the frame's menu bar, then on one of its items.
    void ChooseFromEditMenu(QAction* item) {
        QMenuBar* bar = Form1->MenuBarView();
        QAction* edit = nullptr;
        for (QAction* action : bar->actions()) {
            if (action->text() == "Edit") {
                edit = action;
            }
        }
        ASSERT_NE(edit, nullptr);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(edit).center());
        QMenu* menu = edit->menu();
        ASSERT_TRUE(menu->isVisible());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
        RunPostedEvents();
    }
    void Key(int key, Qt::KeyboardModifiers modifiers) {
        QTest::keyClick(editor, static_cast<Qt::Key>(key), modifiers);
    }
    void Undo() { Key(Qt::Key_Z, Qt::ControlModifier); }
    std::string SaveSheet(const std::string& name) {
        dialogs.ExpectSave(Path(name));
        dialogs.ExpectInformation(kFinished);
        QTest::mouseClick(editor->SpeedButton1, Qt::LeftButton);
        return Path(name);
    }
    void ExpectMenu(bool undo, bool redo, const std::string& when) const {
        EXPECT_EQ(editor->Undo1->isEnabled(), undo) << when;
        EXPECT_EQ(editor->Redo1->isEnabled(), redo) << when;
    }

    FishPicture picture{1, 1};
    TMDIShadow* editor = nullptr;
};

struct InPlaceCase {
    const char* name;
    int width;
    int height;
};
class LoadInPlaceTest : public ShadowUndoTest, public ::testing::WithParamInterface<InPlaceCase> {};

} // namespace

TEST_F(ShadowUndoTest, EditMenuFollowsFileWithItsShortcutsAndStartsDisabled) {
    Open(60, 40);
    EXPECT_EQ(
        MenuTitles(editor->MainMenu1),
        (std::vector<std::string>{"File", "Edit", "View", "Mask Pattern", "Animation", "Window"}));
    EXPECT_EQ(MenuTitles(editor->MainMenu1->actions()[1]->menu()),
              (std::vector<std::string>{"Undo", "Redo", "-", "Load Shadows in Place"}));
    EXPECT_EQ(editor->Undo1->shortcuts(), QList<QKeySequence>{QKeySequence("Ctrl+Z")});
    EXPECT_EQ(editor->Redo1->shortcuts(),
              (QList<QKeySequence>{QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}));
    ExpectMenu(false, false, "fresh workspace");
    EXPECT_TRUE(editor->LoadShadowsInPlace1->isEnabled());
    // A press and release without a move is no step.
    Click(editor->Image1, QPoint(20, 20));
    ExpectMenu(false, false, "after a click");
    CloseAllQuietly();
}

TEST_F(ShadowUndoTest, UndoAndRedoByKeysAndMenuGiveBackEveryStepExactly) {
    Open(60, 40);
    std::vector<Surfaces> states{Now()};
    Stroke(editor->Image1, QPoint(20, 15), {QPoint(21, 15), QPoint(30, 22), QPoint(44, 30)});
    states.push_back(Now());
    Stroke(editor->Image2, QPoint(0, 0), {QPoint(1, 1), QPoint(119, 79)});
    states.push_back(Now());
    QTest::mouseClick(editor->SpeedButton4, Qt::LeftButton); // Erase
    states.push_back(Now());
    TBitmap sheet(40, 30);
    sheet.Canvas().Brush.Color = RGB(90, 90, 90);
    sheet.Canvas().FillRect(Rect(3, 17, 30, 28));
    dialogs.ExpectOpen(Write("sheet.bmp", sheet));
    QTest::mouseClick(editor->SpeedButton5, Qt::LeftButton); // Load shadows
    states.push_back(Now());
    Stroke(editor->Image1, QPoint(50, 10), {QPoint(51, 10), QPoint(51, 40)});
    states.push_back(Now());
    ExpectMenu(true, false, "after five steps");

    // Back by Ctrl+Z and by the menu in turn; each undo clears DataSaved.
    for (int step = 5; step > 0; --step) {
        DataSaved = true;
        if (step % 2) {
            Undo();
        } else {
            ChooseFromEditMenu(editor->Undo1);
        }
        ExpectNow(states[step - 1], "undone to " + std::to_string(step - 1));
        EXPECT_FALSE(DataSaved) << step;
    }
    ExpectMenu(false, true, "all undone");
    Undo();
    ExpectNow(states[0], "nothing left to undo");

    // Forward by Ctrl+Y, Ctrl+Shift+Z and the menu.
    for (int step = 1; step <= 5; ++step) {
        DataSaved = true;
        if (step % 3 == 1) {
            Key(Qt::Key_Y, Qt::ControlModifier);
        } else if (step % 3 == 2) {
            Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        } else {
            ChooseFromEditMenu(editor->Redo1);
        }
        ExpectNow(states[step], "redone to " + std::to_string(step));
        EXPECT_FALSE(DataSaved) << step;
    }
    ExpectMenu(true, false, "all redone");
    CloseAllQuietly();
}

TEST_F(ShadowUndoTest, ANewStrokeAfterAnUndoDropsTheRedoAndTheNextCloseAsksAgain) {
    Open(160, 100);
    Stroke(editor->Image1, QPoint(40, 40), {QPoint(41, 40), QPoint(60, 50)});
    const Surfaces first = Now();
    // The keys belong to the editor's menu: with the fish window in front they do nothing.
    QTest::mouseClick(editor->SpeedButton2, Qt::LeftButton);
    ASSERT_EQ(Form1->ActiveMDIChild(), Fish());
    Undo();
    ExpectNow(first, "Ctrl+Z in the fish window");
    RaiseEditor();
    Stroke(editor->Image2, QPoint(40, 40), {QPoint(41, 40)});
    SaveSheet("saved.bmp");
    ASSERT_TRUE(DataSaved);
    Undo();
    ExpectNow(first, "second stroke undone");
    Stroke(editor->Image1, QPoint(90, 20), {QPoint(91, 20)});
    const Surfaces third = Now();
    ExpectMenu(true, false, "after the new stroke");
    Key(Qt::Key_Y, Qt::ControlModifier);
    ExpectNow(third, "no redo left");
    Undo();
    ExpectNow(first, "the new stroke undone, not the dropped one");

    // An undo after a save is a change like any stroke: closing offers to save again.
    SaveSheet("saved-again.bmp");
    ASSERT_TRUE(DataSaved);
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_FALSE(DataSaved);
    dialogs.ExpectWarning(kCreateQuestion, TMsgResult::mrNo);
    editor->Close1->trigger();
    RunPostedEvents();
    EXPECT_EQ(Form1->MDIChildCount(), 0);
}

TEST_F(ShadowUndoTest, TheHistoryKeepsOnlyTheNewestStepsWithinItsLimit) {
    Open(60, 40);
    editor->History->SetLimits(HistoryLimits{2, std::size_t{256} << 20});
    std::vector<Surfaces> states{Now()};
    for (int i = 0; i < 4; ++i) {
        Stroke(editor->Image1, QPoint(10 + 25 * i, 10), {QPoint(11 + 25 * i, 10 + 15 * i)});
        states.push_back(Now());
    }
    Undo();
    Undo();
    ExpectNow(states[2], "two steps back");
    ExpectMenu(false, true, "the oldest steps dropped");
    Undo();
    ExpectNow(states[2], "no third undo");
    CloseAllQuietly();
}

TEST_P(LoadInPlaceTest, SavingAfterLoadingInPlaceGivesTheSameSheetByteForByte) {
    const int w = GetParam().width;
    const int h = GetParam().height;
    Open(w, h);
    // In view pixels: strokes over the fish's box and beyond it.
    const int z = editor->Zoomed ? 2 : 1;
    Stroke(editor->Image1, QPoint(z * w / 2, z * h / 2),
           {QPoint(z * w / 2 + 1, z * h / 2), QPoint(z * w, z * h / 3)});
    Stroke(editor->Image2, QPoint(z * w / 3, z * h / 3),
           {QPoint(z * w / 3, z * h / 3 + 1), QPoint(z * w / 4, z * h)});
    const std::string first = SaveSheet("first.bmp");
    CloseAllQuietly();

    Open(w, h);
    ExpectMenu(false, false, "a new workspace has a new history");
    const Surfaces white = Now();
    DataSaved = false;
    dialogs.ExpectOpen(first);
    ChooseFromEditMenu(editor->LoadShadowsInPlace1);
    EXPECT_FALSE(DataSaved);
    ExpectMenu(true, false, "after loading in place");
    const std::string second = SaveSheet("second.bmp");
    EXPECT_EQ(FileDifference(second, first), "");

    // Views show the picture under the loaded shadows; an undo takes the load back.
    const Surfaces loaded = Now();
    EXPECT_NE(FirstDifference(loaded[2], white[2]), "") << "the sheet held shadows";
    EXPECT_EQ(FirstDifference(loaded[0], ViewOf(picture.Draw(), z, loaded[2])), "");
    EXPECT_EQ(FirstDifference(loaded[1], ViewOf(picture.Draw(), z, loaded[3])), "");
    Undo();
    ExpectNow(white, "load undone");
    CloseAllQuietly();
}

INSTANTIATE_TEST_SUITE_P(Pictures, LoadInPlaceTest,
                         ::testing::Values(InPlaceCase{"zoomed", 60, 40},
                                           InPlaceCase{"unzoomed", 160, 100}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ShadowUndoTest, ASheetOfAnotherSizeIsRefusedAndChangesNothing) {
    Open(60, 40);
    Stroke(editor->Image1, QPoint(20, 15), {QPoint(21, 15)});
    const Surfaces painted = Now();
    DataSaved = true;
    // The fish's box is 30 x 24; a sheet made for the whole picture does not fit it. The dialog
    // starts in the picture's folder, with no name to take by Enter.
    fs::create_directory(Path("sheets"));
    dialogs.ExpectOpen(Write("sheets/whole.bmp", TBitmap(120, 80)));
    dialogs.ExpectError(ErrorBoxText(msg::kSheetDoesNotFitFish));
    ChooseFromEditMenu(editor->LoadShadowsInPlace1);
    EXPECT_EQ(fs::path(dialogs.LastInitialDir), Folder());
    EXPECT_EQ(dialogs.LastFileName, "");
    ExpectNow(painted, "after the refused load");
    EXPECT_TRUE(DataSaved);
    ExpectMenu(true, false, "no step for the refused load");
    // A file that is no picture at all gives the reader's message, as Load shadows does; the
    // dialog now starts where the last sheet was read.
    dialogs.ExpectOpen(Path("missing.bmp"));
    dialogs.ExpectError(ErrorBoxText(EFOpenError(Path("missing.bmp")).what()));
    ChooseFromEditMenu(editor->LoadShadowsInPlace1);
    EXPECT_EQ(fs::path(dialogs.LastInitialDir), Folder() / "sheets");
    ExpectNow(painted, "after the unreadable file");
    // The body's colour picked as the background: it is nowhere on the border, and the message
    // asks whether the background was picked.
    Click(Fish()->Image1, picture.SpotAt + QPoint(3, 0));
    RaiseEditor();
    dialogs.ExpectOpen(Write("sheets/small.bmp", TBitmap(20, 20)));
    dialogs.ExpectError(ErrorBoxText(msg::kSheetDoesNotFitFishPickBackground));
    ChooseFromEditMenu(editor->LoadShadowsInPlace1);
    ExpectNow(painted, "after the load against the body's colour");
    CloseAllQuietly();
}
