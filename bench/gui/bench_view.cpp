// The view of a large picture, headless through the real windows: one repaint of a 1000 x 800
// view of a 4096 x 4096 picture at 100% and at 1600%, one paint step of the shadow editor at
// 1600% (the mouse move painted into shadow and view, with and without drawing the change), and
// whole strokes; the painting ones with the recovery copy off and on, as the program runs.
#include "app/Unit1.h"
#include "app/WorkspaceRecovery.h"
#include "app/toolkit/ClientArea.h"
#include "fish/Unit4.h"
#include "shadow/Unit3.h"
#include "shadow/Unit6.h"
#include "support/GuiTestSupport.h"
#include "support/ProgramWindows.h"
#include "support/ScriptedDialogs.h"
#include "tests/support/ScratchFolder.h"

#include <QApplication>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <benchmark/benchmark.h>

namespace {

constexpr int kSide = 4096;
const QSize kView(1000, 800);

// A picture with detail everywhere, so no part of it is cheaper to draw than another.
std::string WritePicture(const test_support::ScratchFolder& folder) {
    TBitmap picture(kSide, kSide);
    for (int y = 0; y < kSide; ++y) {
        std::uint32_t* row = picture.MutableRow(y);
        for (int x = 0; x < kSide; ++x) {
            row[x] = static_cast<std::uint32_t>((x * 7) ^ (y * 13)) & 0xFFFFFFu;
        }
    }
    picture.Changed();
    const std::string path = folder.Path("fish.bmp");
    picture.SaveToFile(path);
    return path;
}

// The program with a workspace on the large picture, the window of kind T in front with a view
// of kView at `zoom`, scrolled to the middle of the picture.
template <class T> T* OpenLargeView(ScriptedDialogs& dialogs, const std::string& path, int zoom) {
    gui_test::StartProgramWindows();
    Form1->resize(kView + QSize(200, 300));
    dialogs.ExpectOpen(path);
    Form1->BitBtn2Click();
    gui_test::RunPostedEvents();
    T* window = nullptr;
    for (int i = 0; i < Form1->MDIChildCount() && !window; ++i) {
        window = qobject_cast<T*>(Form1->MDIChildren(i));
    }
    window->BringToFront();
    TClientArea* area = window->ClientArea();
    window->Frame()->resize(window->Frame()->size() + kView - area->viewport()->size());
    area->SetZoom(zoom);
    const QSize content = area->Content()->size();
    area->ScrollTo(QPoint(content.width() / 2, content.height() / 2));
    gui_test::RunPostedEvents();
    return window;
}

void BM_ViewRepaint(benchmark::State& state) {
    test_support::ScratchFolder folder;
    const std::string path = WritePicture(folder);
    ScriptedDialogs dialogs;
    TMDIFish* fish = OpenLargeView<TMDIFish>(dialogs, path, static_cast<int>(state.range(0)));
    QWidget* view = fish->ClientArea()->viewport();
    if (view->size() != kView) {
        state.SkipWithError("the view is not 1000 x 800");
    }
    // Drawn as the screen would draw it: the viewport with the content and the picture over it.
    QImage screen(kView, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        view->render(&screen);
    }
    benchmark::DoNotOptimize(screen.constBits());
    state.SetItemsProcessed(state.iterations() * kView.width() * kView.height());
    gui_test::EndProgramWindows();
}
BENCHMARK(BM_ViewRepaint)->Arg(100)->Arg(1600)->Unit(benchmark::kMillisecond)->UseRealTime();

void Move(QWidget* view, QPoint at) {
    QMouseEvent event(QEvent::MouseMove, QPointF(at), view->mapToGlobal(QPointF(at)), Qt::NoButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &event);
}

// The recovery copy as the program's start turns it on, for the benchmark's run.
class RecoveryFor {
  public:
    explicit RecoveryFor(bool on) : on_(on) {
        if (on_) {
            StartWorkspaceRecovery();
        }
    }
    ~RecoveryFor() {
        if (on_) {
            StopWorkspaceRecovery();
        }
    }

  private:
    bool on_;
};

// One mouse move with the button down over view 1 at 1600%; with state.range(0) set, the change
// is drawn on the screen before the next step; state.range(1) turns the recovery copy on.
void BM_PaintStep(benchmark::State& state) {
    test_support::ScratchFolder folder;
    const std::string path = WritePicture(folder);
    ScriptedDialogs dialogs;
    const RecoveryFor recovery(state.range(1) != 0);
    TMDIShadow* editor = OpenLargeView<TMDIShadow>(dialogs, path, 1600);
    const bool shown = state.range(0) != 0;
    TImage* view = editor->Image1;
    const QPoint middle = view->mapFrom(editor->ClientArea()->viewport(),
                                        editor->ClientArea()->viewport()->rect().center());
    editor->PenDown = true;
    Move(view, middle); // the first step gives the view its own pixels
    gui_test::RunPostedEvents();
    // What one step changes on the screen: the pen's square at 1600% with the outline around it.
    QWidget* viewport = editor->ClientArea()->viewport();
    QImage screen(viewport->size(), QImage::Format_ARGB32_Premultiplied);
    int step = 0;
    for (auto _ : state) {
        // Back and forth over a few picture pixels, as a slow stroke goes.
        const QPoint at = middle + QPoint(16 * (step++ % 8), 0);
        Move(view, at);
        if (shown) {
            const QRect changed(view->mapTo(viewport, at) - QPoint(170, 170), QSize(340, 340));
            view->render(&screen, changed.topLeft(),
                         QRegion(view->mapFrom(viewport, changed.topLeft()).x(),
                                 view->mapFrom(viewport, changed.topLeft()).y(), 340, 340));
        }
    }
    benchmark::DoNotOptimize(screen.constBits());
    editor->PenDown = false;
    gui_test::EndProgramWindows();
}
BENCHMARK(BM_PaintStep)
    ->ArgNames({"shown", "recovery"})
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

void Press(QWidget* view, QEvent::Type type, QPoint at) {
    QMouseEvent event(type, QPointF(at), view->mapToGlobal(QPointF(at)), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(view, &event);
}

// A whole short stroke over view 1 at 1600% (press, 8 moves, release, then the events that came
// due, the recovery copy's timer among them), over and over as a user paints. With the copy on,
// every second one is taken and written in the background while the strokes go on.
void BM_Stroke(benchmark::State& state) {
    test_support::ScratchFolder folder;
    const std::string path = WritePicture(folder);
    ScriptedDialogs dialogs;
    const RecoveryFor recovery(state.range(0) != 0);
    TMDIShadow* editor = OpenLargeView<TMDIShadow>(dialogs, path, 1600);
    TImage* view = editor->Image1;
    const QPoint middle = view->mapFrom(editor->ClientArea()->viewport(),
                                        editor->ClientArea()->viewport()->rect().center());
    int stroke = 0;
    for (auto _ : state) {
        const QPoint start = middle + QPoint(0, 16 * (stroke++ % 8));
        Press(view, QEvent::MouseButtonPress, start);
        for (int step = 1; step <= 8; ++step) {
            Move(view, start + QPoint(16 * step, 0));
        }
        Press(view, QEvent::MouseButtonRelease, start + QPoint(128, 0));
        QApplication::processEvents();
    }
    gui_test::EndProgramWindows();
}
BENCHMARK(BM_Stroke)
    ->ArgName("recovery")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

} // namespace
