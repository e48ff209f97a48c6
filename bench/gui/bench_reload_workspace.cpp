// A fish workspace following its picture, headless through the real windows: Reload Picture on a
// picture saved again at the same size (read, both views rebuilt, the shadows kept) beside the
// Fish Data command it saves the user from (read, three windows created, laid out and painted).
#include "app/Unit1.h"
#include "fish/Unit4.h"
#include "support/GuiTestSupport.h"
#include "support/ProgramWindows.h"
#include "support/ScriptedDialogs.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/Surfaces.h"

#include <QAction>
#include <benchmark/benchmark.h>

#include <chrono>
#include <functional>

namespace {

using Clock = std::chrono::steady_clock;

TBitmap FishOf(int side, TColor body) {
    TBitmap picture(side, side, RGB(0, 0, 200));
    test_support::Fill(picture, Rect(side / 8, side / 4, side * 7 / 8, side * 3 / 4), body);
    return picture;
}

double SecondsOf(const std::function<void()>& work) {
    const Clock::time_point start = Clock::now();
    work();
    Form1->repaint();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Each iteration starts the program, opens the picture by Fish Data (timed), saves it again in
// other colours and reloads it (timed, the iteration's time), and ends the program. The counters
// give both times and the reload's share of a Fish Data. The second argument 0 closes the
// animation preview first, so that the reload's own part shows apart from the preview's
// composition (which Fish Data leaves to the preview's first activation).
void BM_ReloadBesideFishData(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    test_support::ScratchFolder folder;
    const std::string path = folder.Path("fish.bmp");
    ScriptedDialogs dialogs;
    double fishData = 0;
    double reload = 0;
    for (auto _ : state) {
        FishOf(side, RGB(250, 140, 20)).SaveToFile(path);
        gui_test::StartProgramWindows();
        gui_test::RunPostedEvents();
        dialogs.ExpectOpen(path);
        const double open = SecondsOf([] {
            Form1->BitBtn2Click();
            gui_test::RunPostedEvents();
        });
        auto* fish = qobject_cast<TMDIFish*>(Form1->ActiveMDIChild());
        if (!fish) {
            state.SkipWithError("the workspace did not open");
            break;
        }
        if (state.range(1) == 0) {
            for (int i = Form1->MDIChildCount() - 1; i >= 0; --i) {
                if (Form1->MDIChildren(i)->Is("TMDIAnim")) {
                    Form1->MDIChildren(i)->Free();
                }
            }
        }
        FishOf(side, RGB(40, 200, 90)).SaveToFile(path);
        const double again = SecondsOf([fish] { fish->ReloadPicture1->trigger(); });
        state.SetIterationTime(again);
        fishData += open;
        reload += again;
        gui_test::EndProgramWindows();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["fish_data_ms"] = 1000 * fishData / n;
    state.counters["reload_ms"] = 1000 * reload / n;
    state.counters["reload_per_fish_data"] = reload / fishData;
    state.SetItemsProcessed(state.iterations() * side * side);
}
BENCHMARK(BM_ReloadBesideFishData)
    ->Args({2048, 1})
    ->Args({2048, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime();

} // namespace
