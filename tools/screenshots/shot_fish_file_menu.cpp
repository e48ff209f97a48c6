// Screenshot of the fish window with its File menu open, Reload Picture at its end.
#include "app/Unit1.h"
#include "screenshots/Screenshots.h"
#include "screenshots/WorkspaceShots.h"

#include <QMenu>

namespace {
TRegisterScreenshot fishFileMenu{"fish-file-menu", []() -> QWidget* {
                                     if (!OpenSampleWorkspace("clownfish-120x80.bmp")) {
                                         return nullptr;
                                     }
                                     // The frame's menu bar shows the fish window's menu.
                                     QMenu* menu = OpenFrameMenu("File1");
                                     return menu ? StillOfFrameAndFree(nullptr, menu) : nullptr;
                                 }};
} // namespace
