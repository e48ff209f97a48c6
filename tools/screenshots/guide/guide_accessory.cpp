// The guide's third journey: the sample rock opened with Accessory Data, its background picked,
// and the cropped picture and one-bit mask its Save writes.
#include "accessory/Unit5.h"
#include "app/Unit1.h"
#include "screenshots/guide/GuideImages.h"
#include "support/GuiTestSupport.h"
#include "support/MouseStrokes.h"

#include <QPushButton>
#include <QToolButton>

namespace {
void AccessoryJourney(TGuidePictures& out) {
    TGuideUser user;
    user.Opens.push_back(SamplePicture("rock-200x150.bmp", "rock.bmp"));
    Form1->BitBtn1->click();
    gui_test::RunPostedEvents();
    auto* window = qobject_cast<TMDIAcc*>(Form1->ActiveMDIChild());
    if (!window) {
        out.Put("accessory-window", {});
        return;
    }
    gui_test::Click(window->Image2, QPoint(2, 2));
    out.Put("accessory-window", CropToChild(FrameStill(), window));

    // Named with capitals, as a user may type it: the files are written lower-cased.
    const std::string chosen = DataFile("Rock.bmp");
    user.Saves.push_back(chosen);
    window->SpeedButton1->click();
    gui_test::RunPostedEvents();
    out.Put("accessory-files", Captioned({{FilePicture(DataFile("rock.bmp"), 1), "rock.bmp"},
                                          {FilePicture(DataFile("rockm.bmp"), 1), "rockm.bmp"}}));
}

TRegisterJourney accessoryJourney{"accessory", AccessoryJourney};
} // namespace
