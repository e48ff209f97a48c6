// Screenshot of the shadow editor with its Edit menu open after a few strokes and one undo, so
// both Undo and Redo are available.
#include "app/Unit1.h"
#include "screenshots/Screenshots.h"
#include "screenshots/WorkspaceShots.h"
#include "shadow/Unit3.h"
#include "shadow/Unit6.h"

#include <QMenu>

namespace {
TRegisterScreenshot shadowEditMenu{"shadow-edit-menu", []() -> QWidget* {
                                       if (!OpenSampleWorkspace("clownfish-120x80.bmp")) {
                                           return nullptr;
                                       }
                                       TMDIShadow* editor = PaintSampleShadows();
                                       if (!editor) {
                                           return nullptr;
                                       }
                                       editor->Undo1->trigger();
                                       // The frame's menu bar shows the editor's menu; its Edit
                                       // item opens the menu.
                                       QMenu* menu = OpenFrameMenu("Edit1");
                                       return menu ? StillOfFrameAndFree(Form3, menu) : nullptr;
                                   }};
} // namespace
