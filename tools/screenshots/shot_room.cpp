// Screenshots of the room to work: a large fish scrolled to its bottom-right corner, the shadow
// editor at 800% with the pen's outline over a view, and a frame at its own size whose children
// reach past it.
#include "accessory/Unit5.h"
#include "app/Unit1.h"
#include "app/toolkit/Application.h"
#include "app/toolkit/ClientArea.h"
#include "fish/Unit4.h"
#include "screenshots/Screenshots.h"
#include "screenshots/WorkspaceShots.h"
#include "shadow/Unit3.h"
#include "shadow/Unit6.h"
#include "support/MouseStrokes.h"
#include "tests/support/ScratchFolder.h"

#include <QApplication>

namespace {

// The sample tang stretched to 1600 x 1100, as a photograph of that size would come.
std::string LargeFishPicture() {
    static const test_support::ScratchFolder folder;
    const std::string path = folder.Path("fish-1600x1100.bmp");
    TBitmap sample;
    sample.LoadFromFile(VELMORA_SAMPLES "/tang-320x200.bmp");
    TBitmap large(1600, 1100);
    large.Canvas().CopyRect(Rect(0, 0, 1600, 1100), sample.Canvas(),
                            Rect(0, 0, sample.Width(), sample.Height()));
    large.SaveToFile(path);
    return path;
}

TRegisterScreenshot largeFish{"fish-scrolled", []() -> QWidget* {
                                  if (!FileExists(VELMORA_SAMPLES "/tang-320x200.bmp") ||
                                      !OpenWorkspaceOn(LargeFishPicture())) {
                                      return nullptr;
                                  }
                                  auto* fish = qobject_cast<TMDIFish*>(Form1->ActiveMDIChild());
                                  if (!fish) {
                                      return nullptr;
                                  }
                                  gui_test::Click(fish->Image1, QPoint(3, 3));
                                  fish->SetBounds(0, 0, 700, 480);
                                  fish->ClientArea()->ScrollTo(QPoint(1 << 20, 1 << 20));
                                  return StillOfFrameAndFree();
                              }};

TRegisterScreenshot zoomedEditor{
    "shadow-zoom-800", []() -> QWidget* {
        if (!OpenSampleWorkspace("clownfish-120x80.bmp")) {
            return nullptr;
        }
        TMDIShadow* editor = PaintSampleShadows();
        if (!editor) {
            return nullptr;
        }
        editor->SetBounds(0, 0, 760, 560);
        QApplication::processEvents();
        // Zoomed in on the first stroke, the pointer over it.
        TClientArea* area = editor->ClientArea();
        area->SetZoom(800);
        area->ScrollTo(editor->Image1->mapTo(area->Content(), QPoint(80, 62) * 8) -
                       QPoint(300, 200 + area->y()));
        QApplication::processEvents();
        gui_test::Hover(editor->Image1, QPoint(80, 62) * 8 + QPoint(4, 4));
        return StillOfFrameAndFree(Form3);
    }};

TRegisterScreenshot crowdedFrame{"frame-scroll", []() -> QWidget* {
                                     const std::string rock = VELMORA_SAMPLES "/rock-200x150.bmp";
                                     if (!FileExists(rock)) {
                                         return nullptr;
                                     }
                                     // Two accessory windows, the second dragged partly out of
                                     // the work area.
                                     TMDIAcc* first = OpenAccessoryWindow(rock);
                                     first->SetBounds(10, 10, first->Width(), first->Height());
                                     TMDIAcc* second = OpenAccessoryWindow(rock);
                                     second->SetBounds(360, 170, second->Width(), second->Height());
                                     QApplication::processEvents();
                                     return StillOfFrameAndFree();
                                 }};

} // namespace
