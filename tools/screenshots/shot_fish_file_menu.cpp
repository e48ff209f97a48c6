// Screenshot of the fish window with its File menu open, Reload Picture at its end.
#include "app/Unit1.h"
#include "screenshots/Screenshots.h"
#include "screenshots/WorkspaceShots.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {
TRegisterScreenshot fishFileMenu{"fish-file-menu", []() -> QWidget* {
                                     if (!OpenSampleWorkspace("clownfish-120x80.bmp")) {
                                         return nullptr;
                                     }
                                     // The frame's menu bar shows the fish window's menu.
                                     QMenuBar* bar = Form1->MenuBarView();
                                     for (QAction* action : bar->actions()) {
                                         if (action->menu() &&
                                             action->menu()->objectName() == "File1") {
                                             bar->setActiveAction(action);
                                             return StillOfFrameAndFree(nullptr, action->menu());
                                         }
                                     }
                                     return nullptr;
                                 }};
} // namespace
