// The recovery copy of the open workspace in the test's own process: every kind of change copied
// within 2 seconds with the saved flag as it stands, and a dead program's work offered at start
// and restored on Yes.
#include "app/Messages.h"
#include "app/WorkspaceRecovery.h"
#include "fish/RecoveryEntry.h"
#include "fish/Unit9.h"
#include "support/FishWorkspace.h"
#include "tests/support/RecoveryFolders.h"

#include <QTest>
#include <QToolButton>
#include <functional>

namespace gui_test {
namespace {

namespace fs = std::filesystem;

class WorkspaceRecoveryTest : public FishWorkspaceTest {
  protected:
    void SetUp() override {
        FishWorkspaceTest::SetUp();
        previousState_ = qgetenv("XDG_STATE_HOME");
        qputenv("XDG_STATE_HOME", QByteArray::fromStdString(Path("state")));
    }
    void TearDown() override {
        StopWorkspaceRecovery();
        qputenv("XDG_STATE_HOME", previousState_);
        FishWorkspaceTest::TearDown();
    }
    // The program's start: recovery on, and its offer run by the event loop.
    void StartRecovery() {
        StartWorkspaceRecovery();
        RunPostedEvents();
    }
    fs::path Recovery() const { return RecoveryIn(Folder() / "state"); }
    std::string Field(const std::string& key) const {
        const std::vector<fs::path> entries = EntriesOf(Recovery());
        return entries.size() == 1 ? EntryField(entries.front(), key) : "";
    }

  private:
    QByteArray previousState_;
};

TEST_F(WorkspaceRecoveryTest, EveryChangeIsCopiedWithinTwoSeconds) {
    StartRecovery();
    const FishPicture fish(60, 40, Rect(8, 6, 40, 30), QPoint(20, 15));
    OpenWorkspace(WritePicture("fish.bmp", fish));
    RaiseEditor();
    TMDIShadow* editor = Shadow();
    struct Change {
        const char* name;
        std::function<void()> make;
        const char* saved;
    };
    const Change changes[] = {
        {"stroke end", [&] { Stroke(editor->Image1, QPoint(12, 10), {QPoint(14, 11)}); }, "0"},
        {"save",
         [&] {
             dialogs.ExpectSave(Path("sheet.bmp"));
             dialogs.ExpectInformation(kFinished);
             editor->Save1Click();
         },
         "1"},
        {"background pick", [&] { Click(Fish()->Image1, QPoint(1, 1)); }, "1"},
        {"erase", [&] { QTest::mouseClick(editor->SpeedButton4, Qt::LeftButton); }, "1"},
        {"load of shadows",
         [&] {
             dialogs.ExpectOpen(Path("sheet.bmp"));
             QTest::mouseClick(editor->SpeedButton5, Qt::LeftButton);
         },
         "1"},
        {"undo", [&] { editor->Undo1Click(); }, "0"},
        {"redo", [&] { editor->Redo1Click(); }, "0"},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.name);
        const std::string before = Field("written");
        change.make();
        QTRY_VERIFY_WITH_TIMEOUT(Field("written") != before, 2000);
        EXPECT_EQ(Field("saved"), change.saved);
    }
    EXPECT_EQ(Field("background"), std::to_string(fish.Background));
    // Closing through the workspace's close handling removes the copy.
    dialogs.ExpectWarning(kCreateQuestion, TMsgResult::mrNo);
    Fish()->Close1Click();
    RunPostedEvents();
    StopWorkspaceRecovery();
    EXPECT_TRUE(EntriesOf(Recovery()).empty());
}

// No, and the start after it, are tried on the real program in tests/recovery.
TEST_F(WorkspaceRecoveryTest, ADeadProgramsWorkIsRestoredOnYes) {
    const FishPicture fish(60, 40, Rect(8, 6, 40, 30), QPoint(20, 15));
    RecoverySnapshot left;
    left.FileName = Path("gone.bmp"); // the picture file itself no longer exists
    left.Picture = fish.Draw();
    left.Background = fish.Background;
    left.Zoom = 2;
    left.Shadow1 = TBitmap(120, 80);
    StampDefaultPen(left.Shadow1, 30, 20);
    left.Shadow2 = TBitmap(120, 80);
    StampDefaultPen(left.Shadow2, 50, 40);
    fs::create_directories(Recovery());
    EntryWriter(Recovery()).Write(left); // written, then its program is gone
    dialogs.ExpectWarning(kRestoreQuestion, TMsgResult::mrYes);
    StartRecovery();
    EXPECT_EQ(EntriesOf(Recovery()).size(), 1u);
    const std::string name = left.FileName;
    EXPECT_EQ(ChildNames(FrameForTests()), (std::vector<std::string>{name, name, name}));
    EXPECT_EQ(FrameForTests()->ActiveMDIChild(), Fish());
    EXPECT_FALSE(DataSaved);
    EXPECT_EQ(Fish()->Image2->Canvas().Pixel(5, 5), left.Background);
    EXPECT_EQ(FirstDifference(Shadow()->Image4->Canvas().Surface(), left.Shadow2), "");
    EXPECT_EQ(FirstDifference(Shadow()->Image1->Canvas().Surface(),
                              ViewOf(left.Picture, 2, left.Shadow1)),
              "");
}

} // namespace
} // namespace gui_test
