// Opening a large fish picture into the workspace through the Fish Data command, headless: the
// picture read, the three windows created, laid out and painted once.
#include "app/Unit1.h"
#include "app/Unit7.h"
#include "app/toolkit/Application.h"
#include "shadow/Unit3.h"
#include "support/GuiTestSupport.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

std::string WriteFishPicture(const QTemporaryDir& folder, int side) {
    TBitmap picture(side, side);
    picture.Canvas().Brush.Color = RGB(0, 0, 200);
    picture.Canvas().FillRect(Rect(0, 0, side, side));
    picture.Canvas().Brush.Color = RGB(250, 140, 20);
    picture.Canvas().FillRect(Rect(side / 8, side / 4, side * 7 / 8, side * 3 / 4));
    const std::string path = folder.filePath("fish.bmp").toStdString();
    picture.SaveToFile(path);
    return path;
}

void BM_OpenFishWorkspace(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    QTemporaryDir folder;
    const std::string path = WriteFishPicture(folder, side);
    ScriptedDialogs dialogs;
    for (auto _ : state) {
        state.PauseTiming();
        Application->CreateForm(Form1);
        Application->CreateForm(Form3);
        Application->CreateForm(Form7);
        Form1->Show();
        gui_test::RunPostedEvents();
        dialogs.ExpectOpen(path);
        state.ResumeTiming();

        Form1->BitBtn2Click();
        gui_test::RunPostedEvents();
        Form1->repaint();

        state.PauseTiming();
        if (Form1->MDIChildCount() != 3) {
            state.SkipWithError("the workspace did not open");
        }
        Application->DestroyForms();
        Form1 = nullptr;
        Form3 = nullptr;
        Form7 = nullptr;
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * side * side);
}
BENCHMARK(BM_OpenFishWorkspace)->Arg(1024)->Arg(4096)->Unit(benchmark::kMillisecond)->UseRealTime();

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
