// The guide's second journey: a saved sheet opened with Rotate, turned by another angle, and the
// up and down files Create Data writes beside it.
#include "app/Unit1.h"
#include "rotate/Unit8.h"
#include "screenshots/guide/GuideImages.h"
#include "support/GuiTestSupport.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {
void RotateJourney(TGuidePictures& out) {
    const std::string sheet = DataFile("clownfish.bmp");
    const bool saved =
        WorkspaceSavedAs(SamplePicture("clownfish-120x80.bmp", "clownfish.bmp"), sheet);
    CloseAllChildren();
    TGuideUser user;
    user.Opens.push_back(sheet);
    Form1->BitBtn3->click();
    gui_test::RunPostedEvents();
    auto* window = qobject_cast<TMDIRotate*>(Form1->ActiveMDIChild());
    if (!saved || !window) {
        out.Put("rotate-window", {});
        return;
    }
    window->SetBounds(0, 0, 460, 300);
    // Enter in the angle box turns the sheet by the angle it starts with.
    QTest::keyClick(window->Edit1, Qt::Key_Return);
    gui_test::RunPostedEvents();
    out.Put("rotate-window", CropToChild(FrameStill(), window));

    // A new angle typed over the old one, then Enter.
    QTest::keyClick(window->Edit1, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(window->Edit1, "20");
    QTest::keyClick(window->Edit1, Qt::Key_Return);
    gui_test::RunPostedEvents();
    out.Put("rotate-turned", CropToChild(FrameStill(), window));

    QTest::mouseClick(window->SpeedButton1, Qt::LeftButton);
    gui_test::RunPostedEvents();
    const std::string base = sheet.substr(0, sheet.size() - 4);
    out.Put("rotate-files", Captioned({{FilePicture(base + "u.bmp", 2), "clownfishu.bmp (up)"},
                                       {FilePicture(base + "d.bmp", 2), "clownfishd.bmp (down)"}}));
}

TRegisterJourney rotateJourney{"rotate", RotateJourney};
} // namespace
