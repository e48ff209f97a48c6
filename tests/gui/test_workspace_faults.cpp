// The fish workspace against bad pictures and failing writes: Fish Data and Load shadows on files
// that cannot be read, the three saves and the close prompt's write onto targets that cannot be
// written, each with its exact error text, the windows and flags where the failing command left
// them, every earlier file byte for byte as it was, and the same command working once mended.
#include "app/Unit1.h"
#include "app/toolkit/Application.h"
#include "fish/Unit9.h"
#include "raster/Bmp.h"
#include "raster/Errors.h"
#include "shadow/Unit3.h"
#include "support/FishWorkspace.h"
#include "support/GuiTestSupport.h"
#include "tests/support/BadFiles.h"
#include "tests/support/FileFaults.h"

#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <filesystem>
#include <map>
#include <optional>

using namespace gui_test;
namespace fs = std::filesystem;

namespace {

std::vector<BadFile> PictureBadFiles() {
    return BadFiles([] { return BmpBytesOf(TBitmap(40, 30, RGB(0, 0, 200))); }, true);
}

// How a save's target cannot be written.
enum class WriteFault { ReadOnlyFolder, FolderInTheWay, CutMidway };

const char* WriteFaultName(WriteFault fault) {
    switch (fault) {
    case WriteFault::ReadOnlyFolder:
        return "ReadOnlyFolder";
    case WriteFault::FolderInTheWay:
        return "FolderInTheWay";
    case WriteFault::CutMidway:
        return "CutMidway";
    }
    return "?";
}

class WorkspaceFaultTest : public FishWorkspaceTest {
  protected:
    std::map<std::string, std::string> Snapshot() const { return FolderSnapshot(Folder()); }

    // A workspace on the test's picture with one stroke in each view, the editor in front.
    void OpenPainted(const std::string& name = "fish.bmp") {
        OpenWorkspace(WritePicture(name, picture));
        ASSERT_EQ(Form1->MDIChildCount(), 3);
        RaiseEditor();
        Stroke(Shadow()->Image1, QPoint(30, 20), {QPoint(31, 20), QPoint(40, 24)});
        Stroke(Shadow()->Image2, QPoint(50, 30), {QPoint(51, 31)});
        ASSERT_FALSE(DataSaved);
    }

    // A target for a save that `fault` makes fail, with the message it gives; an existing file
    // there is answered Yes to the overwrite question.
    struct Target {
        std::string path;
        bool exists;
        Fault fault;
        std::string message;
    };
    Target PrepareTarget(WriteFault fault) {
        switch (fault) {
        case WriteFault::ReadOnlyFolder: {
            fs::create_directory(Path("ro"));
            const std::string path = Path("ro/sheet.bmp");
            WriteText(path, "earlier sheet in a read-only folder");
            // Not writable either: a writable file in a read-only folder is written in place.
            fs::permissions(path, fs::perms::owner_read | fs::perms::others_read);
            fs::permissions(Path("ro"), fs::perms::owner_read | fs::perms::owner_exec |
                                            fs::perms::others_read | fs::perms::others_exec);
            return {path, true, Fault::OrdinaryUser, msg::Format(msg::kFileCreate, path)};
        }
        case WriteFault::FolderInTheWay: {
            const std::string path = Path("sheet.bmp");
            fs::create_directory(path);
            WriteText(path + "/kept.txt", "inside");
            return {path, false, Fault::None, msg::Format(msg::kFileCreate, path)};
        }
        case WriteFault::CutMidway: {
            const std::string path = Path("sheet.bmp");
            WriteText(path, "earlier sheet, shorter than the new one");
            return {path, true, Fault::SizeLimit, msg::kStreamWrite};
        }
        }
        return {};
    }
    // The target as it is once the fault is gone: writable, and a file name again.
    void MendTarget(WriteFault fault, const Target& target) {
        if (fault == WriteFault::ReadOnlyFolder) {
            fs::permissions(Path("ro"), fs::perms::owner_all);
            fs::permissions(target.path, fs::perms::owner_read | fs::perms::owner_write);
        } else if (fault == WriteFault::FolderInTheWay) {
            fs::remove_all(target.path);
        }
    }
    // The dialogs of AskSaveFileName choosing `target`.
    void ExpectSaveTo(const Target& target) {
        dialogs.ExpectSave(target.path);
        if (target.exists) {
            dialogs.ExpectWarning(kOverwriteQuestion, TMsgResult::mrYes);
        }
    }
    void ExpectWorkspaceOpen(const std::string& caption) {
        EXPECT_EQ(ChildNames(Form1), (std::vector<std::string>{caption, caption, caption}));
        for (TForm* window : {static_cast<TForm*>(Fish()), static_cast<TForm*>(Shadow()),
                              static_cast<TForm*>(Anim())}) {
            ASSERT_NE(window, nullptr);
            EXPECT_FALSE(window->FreePending());
        }
        EXPECT_FALSE(WorkspaceClosing);
    }

    FishPicture picture{50, 30, Rect(10, 6, 40, 24), QPoint(20, 10)};
    FaultCases faults{Folder()};
};

} // namespace

TEST_F(WorkspaceFaultTest, FishDataOnAnUnreadablePictureLeavesPreviewAndEditorAndBothFlagsClear) {
    const std::string target = Path("new.bmp");
    FishPicture next(44, 28);
    next.Fish = Rect(4, 4, 30, 20);
    for (const BadFile& bad : PictureBadFiles()) {
        SCOPED_TRACE(bad.name);
        if (faults.CannotFail(bad.fault)) {
            continue;
        }
        // The old workspace is saved, so closing it asks nothing, unless the picture is to
        // vanish while its question is shown.
        OpenPainted();
        if (!bad.vanishes) {
            dialogs.ExpectSave(Path("earlier.bmp"));
            if (FileExists(Path("earlier.bmp"))) {
                dialogs.ExpectWarning(kOverwriteQuestion, TMsgResult::mrYes);
            }
            dialogs.ExpectInformation(kFinished);
            Fish()->Save1->trigger();
            ASSERT_TRUE(DataSaved);
        }
        PlaceBadFile(bad, target);
        std::map<std::string, std::string> before = Snapshot();
        if (bad.vanishes) {
            before.erase(target);
        }
        {
            FaultScope scope(bad.fault);
            dialogs.ExpectOpen(target);
            if (bad.vanishes) {
                dialogs.ExpectWarning(kCreateQuestion, TMsgResult::mrNo,
                                      [&] { fs::remove(target); });
            }
            dialogs.ExpectError(ErrorBoxText(bad.text(target)));
            QTest::mouseClick(Form1->BitBtn2, Qt::LeftButton);
            RunPostedEvents();
        }
        dialogs.Verify();
        // The old windows are gone, the preview and the editor stand without a picture, and no
        // fish window was made.
        EXPECT_EQ(ChildNames(Form1), (std::vector<std::string>{target, target}));
        EXPECT_EQ(Fish(), nullptr);
        ASSERT_NE(Shadow(), nullptr);
        EXPECT_TRUE(Shadow()->PictureBitmap->Empty());
        EXPECT_TRUE(Shadow()->Image1->Picture().Empty());
        EXPECT_FALSE(DataSaved);
        EXPECT_FALSE(WorkspaceClosing);
        EXPECT_EQ(Snapshot(), before);

        // Once the picture reads, the same command replaces the half-made workspace (asking
        // about it, as nothing of it was saved) with a whole one.
        Write("new.bmp", next.Draw());
        fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
        dialogs.ExpectOpen(target);
        dialogs.ExpectWarning(kCreateQuestion, TMsgResult::mrNo);
        QTest::mouseClick(Form1->BitBtn2, Qt::LeftButton);
        RunPostedEvents();
        dialogs.Verify();
        ExpectWorkspaceOpen(target);
        ASSERT_NE(Fish(), nullptr);
        EXPECT_EQ(FirstDifference(*Fish()->Image1->Picture().Bitmap(), next.Draw()), "");
        CloseAllQuietly();
        RunPostedEvents();
        fs::remove(target);
    }
    if (faults.Skipped()) {
        GTEST_SKIP() << FaultCases::kNoPermissions;
    }
}

TEST_F(WorkspaceFaultTest, LoadShadowsFromAnUnreadableSheetChangesNeitherViewsNorShadowsNorFlag) {
    OpenPainted();
    dialogs.ExpectSave(Path("earlier.bmp"));
    dialogs.ExpectInformation(kFinished);
    QTest::mouseClick(Shadow()->SpeedButton1, Qt::LeftButton);
    ASSERT_TRUE(DataSaved);
    TMDIShadow* editor = Shadow();
    const auto surfaces = [editor] {
        std::vector<TBitmap> all;
        for (TImage* image : {editor->Image1, editor->Image2, editor->Image3, editor->Image4}) {
            all.push_back(*image->Picture().Bitmap());
        }
        return all;
    };
    const std::vector<TBitmap> painted = surfaces();
    const std::string sheet = Path("sheet.bmp");
    for (const BadFile& bad : PictureBadFiles()) {
        SCOPED_TRACE(bad.name);
        if (faults.CannotFail(bad.fault)) {
            continue;
        }
        PlaceBadFile(bad, sheet);
        std::map<std::string, std::string> before = Snapshot();
        if (bad.vanishes) {
            before.erase(sheet);
        }
        {
            FaultScope scope(bad.fault);
            dialogs.ExpectOpen(sheet, [&] {
                if (bad.vanishes) {
                    fs::remove(sheet);
                }
            });
            dialogs.ExpectError(ErrorBoxText(bad.text(sheet)));
            QTest::mouseClick(editor->SpeedButton5, Qt::LeftButton);
        }
        dialogs.Verify();
        const std::vector<TBitmap> now = surfaces();
        for (std::size_t i = 0; i < now.size(); ++i) {
            EXPECT_EQ(FirstDifference(now[i], painted[i]), "") << "Image" << i + 1;
        }
        EXPECT_TRUE(DataSaved);
        ExpectWorkspaceOpen(Path("fish.bmp"));
        EXPECT_EQ(Snapshot(), before);
        fs::remove(sheet);
    }

    // A sheet that reads loads: each bottom quadrant stretched over its whole shadow surface.
    const TColor grey1 = RGB(128, 128, 128);
    const TColor grey2 = RGB(96, 96, 96);
    TBitmap good(100, 60, clWhite);
    Fill(good, Rect(0, 30, 50, 60), grey1);
    Fill(good, Rect(50, 30, 100, 60), grey2);
    Write("sheet.bmp", good);
    dialogs.ExpectOpen(sheet);
    QTest::mouseClick(editor->SpeedButton5, Qt::LeftButton);
    const TBitmap shadow1(100, 60, grey1);
    const TBitmap shadow2(100, 60, grey2);
    EXPECT_EQ(FirstDifference(*editor->Image3->Picture().Bitmap(), shadow1), "");
    EXPECT_EQ(FirstDifference(*editor->Image4->Picture().Bitmap(), shadow2), "");
    EXPECT_EQ(
        FirstDifference(*editor->Image1->Picture().Bitmap(), ViewOf(picture.Draw(), 2, shadow1)),
        "");
    EXPECT_TRUE(DataSaved);
    CloseAllQuietly();
    if (faults.Skipped()) {
        GTEST_SKIP() << FaultCases::kNoPermissions;
    }
}

namespace {
struct SaveCase {
    const char* window; // "fish", "shadow" or "anim": whose Save button is pressed
    WriteFault fault;
};

// The case as the test's name ends and as a failure shows it.
void PrintTo(const SaveCase& c, std::ostream* out) {
    *out << c.window << WriteFaultName(c.fault);
}
} // namespace

class WorkspaceSaveFault : public WorkspaceFaultTest,
                           public ::testing::WithParamInterface<SaveCase> {
  protected:
    QToolButton* SaveButton() {
        const std::string window = GetParam().window;
        return window == "fish"     ? Fish()->SpeedButton1
               : window == "shadow" ? Shadow()->SpeedButton1
                                    : Anim()->SpeedButton1;
    }
};

TEST_P(WorkspaceSaveFault, FailedWriteKeepsTheEarlierFileTheSavedStateAndAnnouncesNothing) {
    OpenPainted();
    if (std::string(GetParam().window) == "anim") {
        QTest::mouseClick(Fish()->SpeedButton3, Qt::LeftButton);
        ASSERT_EQ(Form1->ActiveMDIChild(), Anim());
        ASSERT_FALSE(Anim()->SheetBitmap->Empty());
    }
    const Target target = PrepareTarget(GetParam().fault);
    if (faults.CannotFail(target.fault)) {
        GTEST_SKIP() << FaultCases::kNoPermissions;
    }
    // Tried unsaved, then again after a save elsewhere: the flag keeps either value.
    for (const bool saved : {false, true}) {
        SCOPED_TRACE(saved ? "after a save" : "unsaved");
        if (saved) {
            dialogs.ExpectSave(Path("earlier.bmp"));
            dialogs.ExpectInformation(kFinished);
            QTest::mouseClick(SaveButton(), Qt::LeftButton);
            ASSERT_TRUE(DataSaved);
        }
        const auto before = Snapshot();
        {
            FaultScope scope(target.fault);
            ExpectSaveTo(target);
            dialogs.ExpectError(ErrorBoxText(target.message));
            QTest::mouseClick(SaveButton(), Qt::LeftButton);
            RunPostedEvents();
        }
        dialogs.Verify();
        EXPECT_EQ(DataSaved, saved);
        ExpectWorkspaceOpen(Path("fish.bmp"));
        EXPECT_EQ(Snapshot(), before);
    }

    // With the fault gone the same button writes the sheet and says so.
    MendTarget(GetParam().fault, target);
    RaiseEditor();
    Stroke(Shadow()->Image1, QPoint(10, 10), {QPoint(11, 12)});
    TBitmap sheet;
    ASSERT_TRUE(MakeFishData(sheet));
    if (std::string(GetParam().window) == "anim") {
        // The preview writes what its activation composed, so it is activated afresh.
        QTest::mouseClick(Shadow()->SpeedButton3, Qt::LeftButton);
        ASSERT_EQ(Form1->ActiveMDIChild(), Anim());
        ASSERT_EQ(FirstDifference(*Anim()->SheetBitmap, sheet), "");
    }
    ExpectSaveTo(target);
    dialogs.ExpectInformation(kFinished);
    QTest::mouseClick(SaveButton(), Qt::LeftButton);
    EXPECT_TRUE(DataSaved);
    EXPECT_EQ(FirstDifferingByte(FileBytes(target.path), EncodeBmp(sheet)), "");
    CloseAllQuietly();
}

INSTANTIATE_TEST_SUITE_P(Saves, WorkspaceSaveFault,
                         ::testing::Values(SaveCase{"fish", WriteFault::ReadOnlyFolder},
                                           SaveCase{"fish", WriteFault::FolderInTheWay},
                                           SaveCase{"fish", WriteFault::CutMidway},
                                           SaveCase{"shadow", WriteFault::ReadOnlyFolder},
                                           SaveCase{"shadow", WriteFault::FolderInTheWay},
                                           SaveCase{"shadow", WriteFault::CutMidway},
                                           SaveCase{"anim", WriteFault::ReadOnlyFolder},
                                           SaveCase{"anim", WriteFault::FolderInTheWay},
                                           SaveCase{"anim", WriteFault::CutMidway}),
                         ::testing::PrintToStringParamName());

namespace {
// The ways the close prompt is reached: a window's close box, the tool-bar Exit through the
// preview, and Fish Data closing the old workspace.
enum class CloseRoute { CloseBox, ToolBarExit, FishData };

struct CloseCase {
    CloseRoute route;
    WriteFault fault;
};

void PrintTo(const CloseCase& c, std::ostream* out) {
    *out << (c.route == CloseRoute::CloseBox      ? "CloseBox"
             : c.route == CloseRoute::ToolBarExit ? "ToolBarExit"
                                                  : "FishData")
         << WriteFaultName(c.fault);
}
} // namespace

class WorkspaceCloseFault : public WorkspaceFaultTest,
                            public ::testing::WithParamInterface<CloseCase> {
  protected:
    // Starts the close by the case's route (Fish Data choosing `next`), its question answered
    // Yes and `target` chosen; `failure` is the error box that ends it, if any.
    void CloseByRoute(const std::string& next, const Target& target,
                      std::optional<std::string> failure) {
        if (GetParam().route == CloseRoute::FishData) {
            dialogs.ExpectOpen(next);
        }
        dialogs.ExpectWarning(kCreateQuestion, TMsgResult::mrYes);
        ExpectSaveTo(target);
        if (failure) {
            dialogs.ExpectError(ErrorBoxText(*failure));
        }
        switch (GetParam().route) {
        case CloseRoute::CloseBox:
            Fish()->Frame()->close();
            break;
        case CloseRoute::ToolBarExit:
            QTest::mouseClick(Form1->BitBtn4, Qt::LeftButton);
            break;
        case CloseRoute::FishData:
            QTest::mouseClick(Form1->BitBtn2, Qt::LeftButton);
            break;
        }
        RunPostedEvents();
        dialogs.Verify();
    }
};

TEST_P(WorkspaceCloseFault, FailedWriteStopsTheCloseWithAllThreeOpenAndTheNextCloseAsksAgain) {
    OpenPainted();
    const std::string next = WritePicture("next.bmp", picture);
    const Target target = PrepareTarget(GetParam().fault);
    if (faults.CannotFail(target.fault)) {
        GTEST_SKIP() << FaultCases::kNoPermissions;
    }
    TBitmap sheet;
    ASSERT_TRUE(MakeFishData(sheet));
    const auto before = Snapshot();
    {
        FaultScope scope(target.fault);
        CloseByRoute(next, target, target.message);
    }
    ExpectWorkspaceOpen(Path("fish.bmp"));
    EXPECT_FALSE(DataSaved);
    EXPECT_FALSE(Application->Terminated());
    EXPECT_EQ(Snapshot(), before);

    // With the fault gone the same route asks again, writes the sheet and goes on.
    MendTarget(GetParam().fault, target);
    CloseByRoute(next, target, std::nullopt);
    EXPECT_EQ(FirstDifferingByte(FileBytes(target.path), EncodeBmp(sheet)), "");
    EXPECT_FALSE(DataSaved);
    switch (GetParam().route) {
    case CloseRoute::CloseBox:
        EXPECT_EQ(Form1->MDIChildCount(), 0);
        break;
    case CloseRoute::ToolBarExit:
        EXPECT_EQ(Form1->MDIChildCount(), 0);
        EXPECT_TRUE(Application->Terminated());
        break;
    case CloseRoute::FishData:
        ExpectWorkspaceOpen(next);
        CloseAllQuietly();
        break;
    }
}

INSTANTIATE_TEST_SUITE_P(
    ClosePrompt, WorkspaceCloseFault,
    ::testing::Values(CloseCase{CloseRoute::CloseBox, WriteFault::ReadOnlyFolder},
                      CloseCase{CloseRoute::CloseBox, WriteFault::FolderInTheWay},
                      CloseCase{CloseRoute::CloseBox, WriteFault::CutMidway},
                      CloseCase{CloseRoute::ToolBarExit, WriteFault::ReadOnlyFolder},
                      CloseCase{CloseRoute::ToolBarExit, WriteFault::FolderInTheWay},
                      CloseCase{CloseRoute::ToolBarExit, WriteFault::CutMidway},
                      CloseCase{CloseRoute::FishData, WriteFault::ReadOnlyFolder},
                      CloseCase{CloseRoute::FishData, WriteFault::FolderInTheWay},
                      CloseCase{CloseRoute::FishData, WriteFault::CutMidway}),
    ::testing::PrintToStringParamName());
