// Screenshot of the shadow editor after a few strokes in each view, the pen window over the
// frame's top-right corner where it is shown beside the editor.
#include "app/Unit1.h"
#include "screenshots/Screenshots.h"
#include "screenshots/WorkspaceShots.h"
#include "shadow/Unit3.h"

namespace {
TRegisterScreenshot shadowEditor{"shadow", []() -> QWidget* {
                                     if (!OpenSampleWorkspace("clownfish-120x80.bmp") ||
                                         !PaintSampleShadows()) {
                                         return nullptr;
                                     }
                                     return StillOfFrameAndFree(Form3);
                                 }};
} // namespace
