// The workspace's slow moments, headless through the real windows: opening a fish picture through
// the Fish Data command (the picture read, the three windows created, laid out and painted),
// activating the animation preview (the sheet composed, both frames drawn and shown), and one
// tick of the preview (a frame drawn and shown) beside a plain copy of the frame.
#include "app/Unit1.h"
#include "app/toolkit/ClientArea.h"
#include "fish/Unit2.h"
#include "fish/Unit4.h"
#include "support/GuiTestSupport.h"
#include "support/ProgramWindows.h"
#include "support/ScriptedDialogs.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/Surfaces.h"

#include <QPaintEvent>
#include <QTest>
#include <QToolButton>
#include <benchmark/benchmark.h>

#include <cstring>

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

// A black picture with a square orange fish of half the sheet's side: its sheet is side x side.
std::string WriteSquareFish(const ScratchFolder& folder, int sheetSide) {
    const int fish = sheetSide / 2;
    TBitmap picture(fish + 16, fish + 16, clBlack);
    test_support::Fill(picture, Rect(8, 8, 8 + fish, 8 + fish), RGB(250, 140, 20));
    const std::string path = folder.Path("square.bmp");
    picture.SaveToFile(path);
    return path;
}

// Counts the window's repaints and the pixels they covered.
class PaintCounter : public QObject {
  public:
    int Paints = 0;
    std::int64_t Pixels = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            const QRect rect = static_cast<QPaintEvent*>(event)->rect();
            ++Paints;
            Pixels += std::int64_t{rect.width()} * rect.height();
        }
        return false;
    }
};

// One timer tick of the preview as the event loop runs it: the frame copied onto the window,
// then the repaint that shows it. The real timer is stopped so that only these ticks draw.
void BM_PreviewTick(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    ScratchFolder folder;
    ScriptedDialogs dialogs;
    StartProgram();
    OpenWorkspace(dialogs, WriteSquareFish(folder, side));
    auto* fish = qobject_cast<TMDIFish*>(Form1->MDIChildren(0));
    QTest::mouseClick(fish->SpeedButton3, Qt::LeftButton);
    gui_test::RunPostedEvents();
    auto* anim = qobject_cast<TMDIAnim*>(Form1->ActiveMDIChild());
    if (!anim || anim->SheetBitmap->Width() != side || anim->SheetBitmap->Height() != side) {
        state.SkipWithError("the preview did not compose a sheet of that side");
        gui_test::EndProgramWindows();
        return;
    }
    anim->Timer1->SetInterval(0);
    // The frame window large enough to show the whole frame: a repaint covers only what shows.
    Form1->SetBounds(0, 0, side / 2 + 200, side / 2 + 300);
    anim->Frame()->move(0, 0);
    Form1->repaint();
    gui_test::RunPostedEvents();
    // The client surface shows through the scrolling client area's content widget.
    QWidget* content = anim->ClientArea()->Content();
    PaintCounter counter;
    content->installEventFilter(&counter);
    for (auto _ : state) {
        anim->Timer1Timer();
        gui_test::RunPostedEvents();
    }
    content->removeEventFilter(&counter);
    const std::int64_t frame = std::int64_t{side / 2} * (side / 2);
    if (counter.Paints != state.iterations() || counter.Pixels != frame * state.iterations()) {
        state.SkipWithError("a tick did not repaint exactly its frame");
    }
    gui_test::EndProgramWindows();
    state.SetItemsProcessed(state.iterations() * frame);
}
BENCHMARK(BM_PreviewTick)->Arg(1024)->Arg(2048)->Unit(benchmark::kMillisecond)->UseRealTime();

// What a tick cannot go below: the frame's rows copied from the preview into a surface, the two
// frames in turn as the ticks show them.
void BM_PreviewFrameCopy(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const int w = side / 2;
    TBitmap preview(side, w);
    TBitmap shown(w, w);
    int frame = 0;
    for (auto _ : state) {
        for (int y = 0; y < w; ++y) {
            std::memcpy(shown.MutableRow(y), preview.Row(y) + frame * w, sizeof(std::uint32_t) * w);
        }
        frame = 1 - frame;
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * std::int64_t{w} * w);
}
BENCHMARK(BM_PreviewFrameCopy)->Arg(1024)->Arg(2048)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
