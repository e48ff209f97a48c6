// The workspace's slow moments, headless through the real windows: opening a fish picture through
// the Fish Data command (the picture read, the three windows created, laid out and painted) and
// activating the animation preview (the sheet composed, both frames drawn and shown).
#include "app/Unit1.h"
#include "app/toolkit/Application.h"
#include "fish/Unit2.h"
#include "fish/Unit4.h"
#include "support/GuiTestSupport.h"
#include "support/ProgramWindows.h"
#include "support/ScriptedDialogs.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/Surfaces.h"

#include <QApplication>
#include <QTest>
#include <QToolButton>
#include <benchmark/benchmark.h>

namespace {

using test_support::ScratchFolder;

std::string WriteFishPicture(const ScratchFolder& folder, int side) {
    TBitmap picture(side, side, RGB(0, 0, 200));
    test_support::Fill(picture, Rect(side / 8, side / 4, side * 7 / 8, side * 3 / 4),
                       RGB(250, 140, 20));
    const std::string path = folder.Path("fish.bmp");
    picture.SaveToFile(path);
    return path;
}

void StartProgram() {
    gui_test::StartProgramWindows();
    gui_test::RunPostedEvents();
}

void OpenWorkspace(ScriptedDialogs& dialogs, const std::string& path) {
    dialogs.ExpectOpen(path);
    Form1->BitBtn2Click();
    gui_test::RunPostedEvents();
    Form1->repaint();
}

// Each iteration starts the program, opens the picture through Fish Data and ends the program;
// only the open is timed.
void TimeWorkspaceOpens(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    ScratchFolder folder;
    const std::string path = WriteFishPicture(folder, side);
    ScriptedDialogs dialogs;
    for (auto _ : state) {
        state.PauseTiming();
        StartProgram();
        state.ResumeTiming();

        OpenWorkspace(dialogs, path);

        state.PauseTiming();
        if (Form1->MDIChildCount() != 3) {
            state.SkipWithError("the workspace did not open");
        }
        gui_test::EndProgramWindows();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * side * side);
}

// The first open of a large picture in a process, which also pays for the process's first use of
// that much memory; registered first, so no other benchmark has touched large memory before it.
void BM_FirstOpenFishWorkspace(benchmark::State& state) {
    TimeWorkspaceOpens(state);
}
BENCHMARK(BM_FirstOpenFishWorkspace)
    ->Arg(4096)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_OpenFishWorkspace(benchmark::State& state) {
    TimeWorkspaceOpens(state);
}
BENCHMARK(BM_OpenFishWorkspace)->Arg(1024)->Arg(4096)->Unit(benchmark::kMillisecond)->UseRealTime();

// From the fish window's Animation button to the preview shown with its frames.
void BM_PreviewActivation(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    ScratchFolder folder;
    const std::string path = WriteFishPicture(folder, side);
    ScriptedDialogs dialogs;
    for (auto _ : state) {
        state.PauseTiming();
        StartProgram();
        OpenWorkspace(dialogs, path);
        auto* fish = qobject_cast<TMDIFish*>(Form1->MDIChildren(0));
        state.ResumeTiming();

        QTest::mouseClick(fish->SpeedButton3, Qt::LeftButton);
        gui_test::RunPostedEvents();
        Form1->repaint();

        state.PauseTiming();
        if (!qobject_cast<TMDIAnim*>(Form1->ActiveMDIChild())) {
            state.SkipWithError("the preview did not come up");
        }
        gui_test::EndProgramWindows();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * side * side);
}
BENCHMARK(BM_PreviewActivation)->Arg(1024)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    TApplication application;
    Application->SetTitle("VELMORA.exe");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
