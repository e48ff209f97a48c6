// The start of every windows' benchmark program: Qt offscreen, the program's application object
// with its title, then the benchmarks the command line picks.
#include "app/toolkit/Application.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    // Whatever these windows keep for recovery goes to a folder of this run, never the user's.
    const QTemporaryDir state;
    qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
    TApplication application;
    Application->SetTitle("VELMORA.exe");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
