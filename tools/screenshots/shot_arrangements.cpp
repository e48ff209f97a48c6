// Screenshots of the fish workspace's windows as the Window menu's Cascade and Tile arrange them.
#include "app/Unit1.h"
#include "screenshots/Screenshots.h"
#include "screenshots/WorkspaceShots.h"

#include <QAction>

namespace {

QWidget* ArrangedBy(QAction* TForm1::*command) {
    if (!OpenSampleWorkspace("clownfish-120x80.bmp")) {
        return nullptr;
    }
    (Form1->*command)->trigger();
    return StillOfFrameAndFree();
}

TRegisterScreenshot cascade{"cascade", [] { return ArrangedBy(&TForm1::Cascade1); }};
TRegisterScreenshot tile{"tile", [] { return ArrangedBy(&TForm1::Tile1); }};
} // namespace
