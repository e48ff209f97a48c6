// Screenshots of windows brought into view: the frame at its default size right after Fish Data,
// Rotate and Accessory Data, each new window scrolled into sight, and the fish window's View menu
// open at 400%.
#include "accessory/Unit5.h"
#include "app/Unit1.h"
#include "app/toolkit/Application.h"
#include "app/toolkit/ClientArea.h"
#include "fish/Unit4.h"
#include "fish/Unit9.h"
#include "rotate/Unit8.h"
#include "screenshots/Screenshots.h"
#include "screenshots/WorkspaceShots.h"
#include "support/GuiTestSupport.h"

#include <QMenu>

namespace {

const std::string kFish = VELMORA_SAMPLES "/clownfish-120x80.bmp";
const std::string kRock = VELMORA_SAMPLES "/rock-200x150.bmp";

// A fish workspace opened as the Fish Data command opens it, the frame left at its size.
bool OpenFishAtDefaultSize() {
    if (!FileExists(kFish)) {
        return false;
    }
    OpenFishWorkspace(kFish);
    gui_test::RunPostedEvents();
    return true;
}

TRegisterScreenshot afterFishData{"reach-fish-data", []() -> QWidget* {
                                      return OpenFishAtDefaultSize() ? StillOfFrameAndFree()
                                                                     : nullptr;
                                  }};

TRegisterScreenshot afterRotate{"reach-rotate", []() -> QWidget* {
                                    if (!OpenFishAtDefaultSize()) {
                                        return nullptr;
                                    }
                                    OpenRotationWindow(kFish);
                                    return StillOfFrameAndFree();
                                }};

TRegisterScreenshot afterAccessory{"reach-accessory", []() -> QWidget* {
                                       if (!OpenFishAtDefaultSize() || !FileExists(kRock)) {
                                           return nullptr;
                                       }
                                       OpenRotationWindow(kFish);
                                       gui_test::RunPostedEvents();
                                       OpenAccessoryWindow(kRock);
                                       return StillOfFrameAndFree();
                                   }};

TRegisterScreenshot viewMenu{"view-menu", []() -> QWidget* {
                                 if (!OpenFishAtDefaultSize()) {
                                     return nullptr;
                                 }
                                 auto* fish = qobject_cast<TMDIFish*>(Form1->ActiveMDIChild());
                                 if (!fish) {
                                     return nullptr;
                                 }
                                 fish->ClientArea()->SetZoom(400);
                                 QMenu* menu = OpenFrameMenu("View1");
                                 return menu ? StillOfFrameAndFree(nullptr, menu) : nullptr;
                             }};

} // namespace
