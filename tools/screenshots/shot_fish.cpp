// Screenshot of the fish window in front of its workspace, the picture's background picked.
#include "app/Unit1.h"
#include "fish/Unit4.h"
#include "screenshots/Screenshots.h"
#include "screenshots/WorkspaceShots.h"
#include "support/MouseStrokes.h"

namespace {
TRegisterScreenshot fishWindow{"fish", []() -> QWidget* {
                                   if (!OpenSampleWorkspace("clownfish-120x80.bmp")) {
                                       return nullptr;
                                   }
                                   auto* fish = qobject_cast<TMDIFish*>(Form1->ActiveMDIChild());
                                   if (fish) {
                                       gui_test::Click(fish->Image1, QPoint(3, 3));
                                   }
                                   return StillOfFrameAndFree();
                               }};
} // namespace
