// The guide's first journey: the main window, a fish workspace opened on the sample clownfish,
// the background picked, both shadow patterns painted with the pen window's sliders, the
// animation preview's two frames and the saved sheet's four quadrants.
#include "app/Unit1.h"
#include "fish/Unit2.h"
#include "fish/Unit4.h"
#include "screenshots/WorkspaceShots.h"
#include "screenshots/guide/GuideImages.h"
#include "shadow/Unit3.h"
#include "shadow/Unit6.h"
#include "support/GuiTestSupport.h"
#include "support/MouseStrokes.h"

#include <QScrollBar>
#include <QToolButton>

namespace {
// The pen window's three sliders set to width, centre and density, as the user drags them.
QImage PenWindowAt(int width, int centre, int density) {
    Form3->ScrollBar1->setValue(width);
    Form3->ScrollBar2->setValue(centre);
    Form3->ScrollBar3->setValue(density);
    gui_test::RunPostedEvents();
    return Form3->grab().toImage();
}

void FishJourney(TGuidePictures& out) {
    Form1->Show();
    out.Put("main-window", FrameStill());

    const std::string sheet = DataFile("clownfish.bmp");
    TGuideUser user;
    user.Opens.push_back(SamplePicture("clownfish-120x80.bmp", "clownfish.bmp"));
    user.Saves.push_back(sheet);
    if (!OpenGuideWorkspace()) {
        out.Put("fish-workspace", {});
        return;
    }
    out.Put("fish-workspace", CropToChildren(FrameStill()));

    auto* fish = qobject_cast<TMDIFish*>(Form1->ActiveMDIChild());
    gui_test::Click(fish->Image1, QPoint(3, 3));
    out.Put("fish-background", CropToChild(FrameStill(), fish));

    TMDIShadow* editor = PaintSampleShadows();
    if (!editor) {
        out.Put("shadow-editor", {});
        return;
    }
    out.Put("shadow-editor", CropToChildren(FrameStill(Form3), Form3));
    out.Put("pen-window", Captioned({{PenWindowAt(20, 10, 75), "as it starts"},
                                     {PenWindowAt(40, 6, 160), "wider, softer, darker"}}));
    PenWindowAt(20, 10, 75);

    editor->SpeedButton3->click();
    gui_test::RunPostedEvents();
    auto* anim = qobject_cast<TMDIAnim*>(Form1->ActiveMDIChild());
    if (!anim) {
        out.Put("anim-preview", {});
        return;
    }
    anim->Timer1Timer();
    const QImage second = CropToChild(FrameStill(), anim);
    anim->Timer1Timer();
    const QImage first = CropToChild(FrameStill(), anim);
    out.Put("anim-preview", Captioned({{first, "shadow pattern 1"}, {second, "shadow pattern 2"}}));

    editor->SpeedButton1->click();
    gui_test::RunPostedEvents();
    out.Put("fish-sheet", ExplainedSheet(sheet, 2));
}

TRegisterJourney fishJourney{"fish", FishJourney};
} // namespace
