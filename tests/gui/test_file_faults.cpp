// The rotation and accessory windows against bad files and failing writes: the error box's exact
// text, the windows and their flags where the failing command left them, and every file that was
// there before byte for byte as it was.
#include "accessory/AccessoryCrop.h"
#include "accessory/Unit5.h"
#include "app/Unit1.h"
#include "app/toolkit/Application.h"
#include "raster/Bmp.h"
#include "raster/Errors.h"
#include "rotate/Unit8.h"
#include "rotate/UpDownSheets.h"
#include "shadow/Unit3.h"
#include "support/BadFiles.h"
#include "support/DataWindowTest.h"
#include "support/FileFaults.h"
#include "support/GuiTestSupport.h"

#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <sys/fsuid.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <utility>

using namespace gui_test;
namespace fs = std::filesystem;

namespace {

std::vector<BadFile> SheetBadFiles() {
    return BadFiles([] { return BmpBytesOf(FishSheet()); }, false);
}

class FileFaultTest : public DataWindowTest {
  protected:
    void SetUp() override {
        DataWindowTest::SetUp();
        folder_ = fs::path(Path("x")).parent_path();
        permissionsHold_ = PrepareFaultFolder(folder_);
    }

    std::map<std::string, std::string> Snapshot() const { return FolderSnapshot(folder_); }
    // The snapshot taken before, with the named files as they are now.
    std::map<std::string, std::string> Except(std::map<std::string, std::string> before,
                                              const std::vector<std::string>& changed) const {
        const std::map<std::string, std::string> now = Snapshot();
        for (const std::string& path : changed) {
            EXPECT_NE(now.at(path), before[path]) << path << " should have been written";
            before[path] = now.at(path);
        }
        return before;
    }
    // Whether a case needing permission bits cannot be made to fail here; the test then reports
    // itself skipped at its end with kNoPermissions, after its other cases ran.
    bool CannotFail(Fault fault) {
        const bool cannot = fault == Fault::OrdinaryUser && !permissionsHold_;
        skipped_ = skipped_ || cannot;
        return cannot;
    }
    static constexpr const char* kNoPermissions =
        "cases of a missing permission left out: running as root and setfsuid cannot drop it, "
        "so no permission bit stops a read or a write";

    fs::path folder_;
    bool permissionsHold_ = false;
    bool skipped_ = false;
};

void Click(QWidget* button) {
    QTest::mouseClick(button, Qt::LeftButton);
}

bool HourglassLeft(QWidget* widget) {
    return widget->testAttribute(Qt::WA_SetCursor);
}

} // namespace

TEST_F(FileFaultTest, RotationReportsEachUnreadableSheetWhenShownAndAtCreateDataAndWritesNothing) {
    const std::string sheet = Path("sheet.bmp");
    const UpDownNames names = UpDownFileNames(sheet);
    WriteText(names.Up, "earlier up sheet");
    WriteText(names.Down, "earlier down sheet");
    int windows = 0;
    for (const BadFile& bad : SheetBadFiles()) {
        if (CannotFail(bad.fault)) {
            continue;
        }
        WriteText(sheet, bad.bytes());
        fs::permissions(sheet, bad.fault == Fault::OrdinaryUser
                                   ? fs::perms::owner_write
                                   : fs::perms::owner_read | fs::perms::owner_write);
        // Opening reads nothing: the window waits for its first showing.
        TMDIRotate* window = OpenWith<TMDIRotate>(Form1->BitBtn3, sheet);
        ASSERT_NE(window, nullptr) << bad.name;
        EXPECT_EQ(Form1->MDIChildCount(), ++windows);
        const auto before = Snapshot();
        {
            FaultScope scope(bad.fault);
            dialogs.ExpectError(ErrorBoxText(bad.text(sheet)));
            Click(window->BitBtn1);
            dialogs.ExpectError(ErrorBoxText(bad.text(sheet)));
            Click(window->SpeedButton1);
        }
        dialogs.Verify();
        EXPECT_TRUE(window->NeedsReload && window->Unsaved) << bad.name;
        EXPECT_TRUE(window->SourceBitmap.Empty()) << bad.name;
        EXPECT_TRUE(window->Image1->Picture().Empty() && window->Image2->Picture().Empty());
        EXPECT_FALSE(HourglassLeft(window->SpeedButton1)) << bad.name;
        EXPECT_EQ(Snapshot(), before) << bad.name;
        EXPECT_EQ(Form1->MDIChildCount(), windows) << bad.name;
    }
    // The same window works again once the file does.
    fs::permissions(sheet, fs::perms::owner_read | fs::perms::owner_write);
    WriteBmpFile(FishSheet(), sheet);
    auto* window = qobject_cast<TMDIRotate*>(Form1->ActiveMDIChild());
    dialogs.ExpectInformation(kUpDownDoneMessage);
    Click(window->SpeedButton1);
    EXPECT_FALSE(window->Unsaved);
    EXPECT_EQ(ReadBmpFile(names.Up).Width() % 2, 0);
    if (skipped_) {
        GTEST_SKIP() << kNoPermissions;
    }
}

TEST_F(FileFaultTest, ASheetThatVanishesIsPassedOverSilentlyUntilCreateDataHasNothingToTurn) {
    const std::string sheet = Write("gone.bmp", FishSheet());
    const UpDownNames names = UpDownFileNames(sheet);
    WriteText(names.Up, "earlier up sheet");

    // Gone between the dialog's choice and the command's test: nothing opens, nothing is said.
    dialogs.ExpectOpen(sheet, [&] { fs::remove(sheet); });
    Click(Form1->BitBtn3);
    EXPECT_EQ(Form1->MDIChildCount(), 0);

    // Gone after the window opened: showing does nothing; Create Data refuses an empty sheet
    // rather than writing one over the earlier files.
    Write("gone.bmp", FishSheet());
    TMDIRotate* window = OpenWith<TMDIRotate>(Form1->BitBtn3, sheet);
    fs::remove(sheet);
    const auto before = Snapshot();
    Click(window->BitBtn1);
    EXPECT_TRUE(window->Image1->Picture().Empty());
    dialogs.ExpectError(ErrorBoxText(kNoBlackInMaskMessage));
    Click(window->SpeedButton1);
    EXPECT_TRUE(window->Unsaved);
    EXPECT_EQ(Snapshot(), before);

    // Gone after it was shown: the sheet in memory is what gets turned and written.
    Write("gone.bmp", FishSheet());
    Click(window->BitBtn1);
    fs::remove(sheet);
    dialogs.ExpectInformation(kUpDownDoneMessage);
    Click(window->SpeedButton1);
    TBitmap up, down;
    const UpDownSheets expected = BuildUpDownSheets(FishSheet(), 30, up, down);
    const std::string upBytes = BmpBytesOf(expected.Up);
    EXPECT_EQ(FileBytes(names.Up), std::vector<char>(upBytes.begin(), upBytes.end()));
}

TEST_F(FileFaultTest, CreateDataThatCannotWriteKeepsTheEarlierSheetsAndTheWindowAndItsFlag) {
    const std::string sheet = Write("fish.bmp", FishSheet());
    const UpDownNames names = UpDownFileNames(sheet);
    const struct {
        const char* name;
        Fault fault;
        std::string blocked; // made a folder before the run
        std::string message;
        std::vector<std::string> written; // replaced before the failure
        bool viaClosePrompt;
    } cases[] = {
        {"read-only folder",
         Fault::OrdinaryUser,
         "",
         msg::Format(msg::kFileCreate, names.Up),
         {},
         false},
        {"read-only folder, at the close prompt",
         Fault::OrdinaryUser,
         "",
         msg::Format(msg::kFileCreate, names.Up),
         {},
         true},
        {"up sheet's name is a folder",
         Fault::None,
         names.Up,
         msg::Format(msg::kFileCreate, names.Up),
         {},
         false},
        {"down sheet's name is a folder",
         Fault::None,
         names.Down,
         msg::Format(msg::kFileCreate, names.Down),
         {names.Up},
         false},
        {"write fails midway", Fault::SizeLimit, "", msg::kStreamWrite, {}, false},
        {"write fails midway, at the close prompt",
         Fault::SizeLimit,
         "",
         msg::kStreamWrite,
         {},
         true},
    };
    for (const auto& c : cases) {
        if (CannotFail(c.fault)) {
            continue;
        }
        for (const std::string& file : {names.Up, names.Down}) {
            fs::remove_all(file);
            WriteText(file, "earlier " + file);
        }
        if (!c.blocked.empty()) {
            fs::remove(c.blocked);
            fs::create_directory(c.blocked);
            WriteText(c.blocked + "/kept.txt", "inside");
        }
        TMDIRotate* window = OpenWith<TMDIRotate>(Form1->BitBtn3, sheet);
        Click(window->BitBtn1);
        const auto before = Snapshot();
        {
            FaultScope scope(c.fault, folder_);
            if (c.viaClosePrompt) {
                dialogs.ExpectWarning(kUpDownClosePrompt, TMsgResult::mrYes);
                dialogs.ExpectError(ErrorBoxText(c.message));
                window->Close1->trigger();
            } else {
                dialogs.ExpectError(ErrorBoxText(c.message));
                Click(window->SpeedButton1);
            }
            RunPostedEvents();
        }
        dialogs.Verify();
        EXPECT_EQ(Snapshot(), Except(before, c.written)) << c.name;
        EXPECT_EQ(Form1->MDIChildCount(), 1) << c.name;
        EXPECT_TRUE(window->Unsaved) << c.name;
        EXPECT_FALSE(HourglassLeft(window->SpeedButton1)) << c.name;

        // Once the fault is gone the same window writes its sheets.
        if (!c.blocked.empty()) {
            fs::remove_all(c.blocked);
        }
        dialogs.ExpectInformation(kUpDownDoneMessage);
        Click(window->SpeedButton1);
        EXPECT_FALSE(window->Unsaved) << c.name;
        window->Close();
        RunPostedEvents();
    }
    if (skipped_) {
        GTEST_SKIP() << kNoPermissions;
    }
}

TEST_F(FileFaultTest, AccessoryDataReportsEachUnreadablePictureAndItsSaveThenWritesNothing) {
    const std::string picture = Path("rock.bmp");
    WriteText(Path("rockm.bmp"), "earlier mask");
    int windows = 0;
    for (const BadFile& bad : SheetBadFiles()) {
        if (CannotFail(bad.fault)) {
            continue;
        }
        WriteText(picture, bad.bytes());
        fs::permissions(picture, bad.fault == Fault::OrdinaryUser
                                     ? fs::perms::owner_write
                                     : fs::perms::owner_read | fs::perms::owner_write);
        Form3->Show();
        const auto before = Snapshot();
        {
            FaultScope scope(bad.fault);
            dialogs.ExpectOpen(picture);
            dialogs.ExpectError(ErrorBoxText(bad.text(picture)));
            Click(Form1->BitBtn1);
        }
        dialogs.Verify();
        // The command stopped at the load: its window stays without a picture and the pen
        // settings window was not hidden.
        auto* window = qobject_cast<TMDIAcc*>(Form1->ActiveMDIChild());
        ASSERT_NE(window, nullptr) << bad.name;
        EXPECT_EQ(Form1->MDIChildCount(), ++windows) << bad.name;
        EXPECT_EQ(window->Caption(), picture);
        EXPECT_TRUE(window->Image2->Picture().Empty()) << bad.name;
        EXPECT_TRUE(Form3->Visible()) << bad.name;
        EXPECT_TRUE(window->Unsaved);

        // Save with the swatch black would replace the opened file and, answered Yes, the mask:
        // it finds nothing to crop and leaves both as they were.
        dialogs.ExpectWarning(MaskOverwritePrompt(Path("rockm.bmp")), TMsgResult::mrYes);
        dialogs.ExpectError(ErrorBoxText(kNoAccessoryPixelMessage));
        Click(window->SpeedButton1);
        dialogs.Verify();
        EXPECT_TRUE(window->Unsaved) << bad.name;
        EXPECT_EQ(Snapshot(), before) << bad.name;
    }

    // Gone between the dialog's choice and the command's test: no window, no message.
    Form3->Show();
    Write("gone.bmp", RockPicture());
    dialogs.ExpectOpen(Path("gone.bmp"), [&] { fs::remove(Path("gone.bmp")); });
    Click(Form1->BitBtn1);
    EXPECT_EQ(Form1->MDIChildCount(), windows);
    EXPECT_TRUE(Form3->Visible());
    if (skipped_) {
        GTEST_SKIP() << kNoPermissions;
    }
}

TEST_F(FileFaultTest, AccessorySaveThatCannotWriteKeepsEarlierFilesTheWindowAndItsFlag) {
    const std::string source = Write("tank.bmp", RockPicture());
    fs::create_directory(Path("out"));
    const AccessoryNames chosen = AccessoryFileNames(Path("out/rock.bmp"));
    const AccessoryNames inPlace = AccessoryFileNames(source);
    const struct {
        const char* name;
        Fault fault;
        bool pick; // a background picked, so Save asks for a name; else the opened file is it
        std::string blocked;
        std::string message;
        std::vector<std::string> written;
        bool viaClosePrompt;
    } cases[] = {
        {"read-only folder",
         Fault::OrdinaryUser,
         true,
         "",
         msg::Format(msg::kFileCreate, chosen.Mask),
         {},
         false},
        {"read-only folder, at the close prompt",
         Fault::OrdinaryUser,
         true,
         "",
         msg::Format(msg::kFileCreate, chosen.Mask),
         {},
         true},
        {"mask's name is a folder",
         Fault::None,
         true,
         chosen.Mask,
         msg::Format(msg::kFileCreate, chosen.Mask),
         {},
         false},
        {"picture's name is a folder",
         Fault::None,
         true,
         chosen.Picture,
         msg::Format(msg::kFileCreate, chosen.Picture),
         {chosen.Mask},
         false},
        {"picture fails midway",
         Fault::SizeLimit,
         true,
         "",
         msg::kStreamWrite,
         {chosen.Mask},
         false},
        {"opened file replaced in place fails midway",
         Fault::SizeLimit,
         false,
         "",
         msg::kStreamWrite,
         {inPlace.Mask},
         false},
        {"picture fails midway, at the close prompt",
         Fault::SizeLimit,
         true,
         "",
         msg::kStreamWrite,
         {chosen.Mask},
         true},
    };
    for (const auto& c : cases) {
        if (CannotFail(c.fault)) {
            continue;
        }
        for (const std::string& file : {chosen.Picture, chosen.Mask, inPlace.Mask}) {
            fs::remove_all(file);
        }
        WriteText(chosen.Picture, "earlier picture");
        WriteBmpFile(RockPicture(), source);
        if (!c.blocked.empty()) {
            fs::remove(c.blocked);
            fs::create_directory(c.blocked);
            WriteText(c.blocked + "/kept.txt", "inside");
        }
        auto* window = OpenWith<TMDIAcc>(Form1->BitBtn1, source);
        ASSERT_NE(window, nullptr);
        if (c.pick) {
            QTest::mouseClick(window->Image2, Qt::LeftButton, {}, QPoint(1, 1));
        }
        const auto before = Snapshot();
        {
            FaultScope scope(c.fault, Path("out"));
            if (c.viaClosePrompt) {
                dialogs.ExpectWarning(kAccessoryClosePrompt, TMsgResult::mrYes);
            }
            if (c.pick) {
                dialogs.ExpectSave(chosen.Picture);
            }
            dialogs.ExpectError(ErrorBoxText(c.message));
            if (c.viaClosePrompt) {
                window->Close1->trigger();
            } else {
                Click(window->SpeedButton1);
            }
            RunPostedEvents();
        }
        dialogs.Verify();
        EXPECT_EQ(Snapshot(), Except(before, c.written)) << c.name;
        EXPECT_EQ(Form1->MDIChildCount(), 1) << c.name;
        EXPECT_TRUE(window->Unsaved) << c.name;
        EXPECT_FALSE(HourglassLeft(window)) << c.name;

        // Once the fault is gone the same window saves (the mask is there now: it asks).
        if (!c.blocked.empty()) {
            fs::remove_all(c.blocked);
        }
        const AccessoryNames target = c.pick ? chosen : inPlace;
        if (c.pick) {
            dialogs.ExpectSave(chosen.Picture);
        }
        if (Exists(target.Mask)) {
            dialogs.ExpectWarning(MaskOverwritePrompt(target.Mask), TMsgResult::mrYes);
        }
        dialogs.ExpectInformation(kImageFileDoneMessage);
        Click(window->SpeedButton1);
        EXPECT_FALSE(window->Unsaved) << c.name;
        const std::string expected =
            BmpBytesOf(CropAccessory(RockPicture(), c.pick ? kWater : clBlack).Picture);
        EXPECT_EQ(FileBytes(target.Picture), std::vector<char>(expected.begin(), expected.end()))
            << c.name;
        window->Close();
        RunPostedEvents();
    }
    if (skipped_) {
        GTEST_SKIP() << kNoPermissions;
    }
}
