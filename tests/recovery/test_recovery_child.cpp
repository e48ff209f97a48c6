// The recovery copy of the real program in child processes on a state folder of the test's own:
// painting killed and restored byte for byte, the starts that must ask nothing, a second program
// leaving a running one's work alone, and what each way of ending keeps.
#include "app/Messages.h"
#include "raster/Bmp.h"
#include "raster/TBitmap.h"
#include "tests/support/Files.h"
#include "tests/support/Programs.h"
#include "tests/support/RecoveryFolders.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/Surfaces.h"

#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

namespace {

using namespace test_support;
namespace fs = std::filesystem;
using Steps = std::vector<std::string>;

// The driver prints each question it is asked on a line of its own.
const std::string kAskedToRestore = std::string("question: ") + kRestoreQuestion;

int Count(const std::string& text, const std::string& what) {
    int count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++count;
    }
    return count;
}

class RecoveryChild : public ::testing::Test {
  protected:
    void SetUp() override {
        TBitmap picture(60, 40, RGB(0, 0, 200));
        Fill(picture, Rect(8, 6, 40, 30), RGB(250, 140, 20));
        picture_ = folder_.Path("fish.bmp");
        picture.SaveToFile(picture_);
    }

    fs::path State() const { return folder_.Root() / "state"; }
    fs::path Recovery() const { return RecoveryIn(State()); }
    std::string Path(const std::string& name) const { return folder_.Path(name); }

    // Fish Data, the background picked, a stroke in each view.
    Steps Painting() const { return {"open=" + picture_, "pick=1,1", "stroke1", "stroke2"}; }

    BackgroundProgram Start(const Steps& steps, const fs::path& state) const {
        return BackgroundProgram(
            VELMORA_RECOVERY_DRIVER, steps,
            {{"XDG_STATE_HOME", state.string()}, {"QT_QPA_PLATFORM", "offscreen"}});
    }
    ProgramRun RunToEnd(const Steps& steps) const { return RunToEnd(steps, State()); }
    ProgramRun RunToEnd(const Steps& steps, const fs::path& state) const {
        BackgroundProgram program = Start(steps, state);
        ProgramRun run = program.Wait();
        EXPECT_EQ(run.Status, 0) << run.Out << run.Err;
        return run;
    }

    // Starts the steps followed by 3 s of rest and leaves the program running once they are
    // done.
    BackgroundProgram StartAndRest(Steps steps) {
        const std::string mark = Path("mark" + std::to_string(++marks_));
        steps.insert(steps.end(), {"rest=3000", "mark=" + mark});
        BackgroundProgram program = Start(steps, State());
        for (int i = 0; i < 600 && !fs::exists(mark); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        EXPECT_TRUE(fs::exists(mark)) << "the steps did not finish";
        return program;
    }
    void RunAndKill(const Steps& steps) { StartAndRest(steps).Kill(); }

  private:
    ScratchFolder folder_;
    std::string picture_;
    int marks_ = 0;
};

Steps With(Steps steps, const Steps& more) {
    steps.insert(steps.end(), more.begin(), more.end());
    return steps;
}

TEST_F(RecoveryChild, PaintingKilledComesBackAsTheSameSheet) {
    const std::string uninterrupted = Path("uninterrupted.bmp");
    RunToEnd(With(Painting(), {"save=" + uninterrupted, "exit=menu"}), State() / "elsewhere");
    RunAndKill(Painting());

    const std::string restored = Path("restored.bmp");
    const ProgramRun run = RunToEnd({"answer=yes", "save=" + restored, "exit=menu"});
    EXPECT_EQ(Count(run.Out, kAskedToRestore), 1) << run.Out;
    EXPECT_EQ(FileDifference(restored, uninterrupted), "");
    // Both strokes are in the sheet: each shadow quadrant holds grey.
    const TBitmap sheet = ReadBmpFile(uninterrupted);
    const int w = sheet.Width() / 2;
    const int h = sheet.Height() / 2;
    for (const int left : {0, w}) {
        int grey = 0;
        for (int y = h; y < 2 * h; ++y) {
            for (int x = left; x < left + w; ++x) {
                grey += sheet.Pixel(x, y) != clWhite;
            }
        }
        EXPECT_GT(grey, 0) << "shadow quadrant at " << left;
    }
}

// Each case leaves the state folder as a start finds it; that start then asks nothing, and
// leaves no entry of a dead program behind (a spoilt one goes to `damaged`).
TEST_F(RecoveryChild, StartsThatAskNothing) {
    struct Case {
        const char* name;
        std::function<void()> leave;
        std::size_t damaged;
    };
    const Case cases[] = {
        {"saved, then killed", [&] { RunAndKill(With(Painting(), {"save=" + Path("saved.bmp")})); },
         0},
        {"killed, then No at the next start",
         [&] {
             RunAndKill(Painting());
             const ProgramRun no = RunToEnd({"answer=no", "exit=menu"});
             EXPECT_EQ(Count(no.Out, kAskedToRestore), 1) << no.Out;
         },
         0},
        {"killed, then the entry cut short",
         [&] {
             RunAndKill(Painting());
             ASSERT_EQ(EntriesOf(Recovery()).size(), 1u);
             SpoilEntry(EntriesOf(Recovery()).front(), Spoil::ShadowCutShort);
         },
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(State());
        c.leave();
        const ProgramRun run = RunToEnd({"exit=menu"});
        EXPECT_EQ(Count(run.Out, "question: "), 0) << run.Out;
        EXPECT_TRUE(EntriesOf(Recovery()).empty());
        EXPECT_EQ(DamagedOf(Recovery()).size(), c.damaged);
    }
}

TEST_F(RecoveryChild, ASecondProgramLeavesARunningOnesWorkAlone) {
    BackgroundProgram first = StartAndRest(Painting());
    const auto before = FolderSnapshot(Recovery());
    ASSERT_EQ(EntriesOf(Recovery()).size(), 1u);
    const ProgramRun second = RunToEnd({"exit=menu"});
    EXPECT_EQ(Count(second.Out, "question: "), 0) << second.Out;
    EXPECT_EQ(FolderSnapshot(Recovery()), before);
    first.Kill();
}

// The menu Exit ends without questions and keeps the work, even right after a stroke; the
// tool-bar Exit closes the workspace through its close handling, which removes the copy written
// before.
TEST_F(RecoveryChild, TheWayTheProgramEndsDecidesWhatIsKept) {
    struct Case {
        Steps ending;
        bool kept;
    };
    const Case cases[] = {{{"exit=menu"}, true}, {{"rest=2500", "exit=toolbar"}, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ending.back());
        fs::remove_all(State());
        RunToEnd(With(With(Painting(), {"answer=no"}), c.ending));
        const std::vector<fs::path> entries = EntriesOf(Recovery());
        ASSERT_EQ(entries.size(), c.kept ? 1u : 0u);
        if (c.kept) {
            EXPECT_EQ(EntryField(entries.front(), "saved"), "0");
        }
    }
}

} // namespace
