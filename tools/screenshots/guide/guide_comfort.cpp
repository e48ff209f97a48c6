// The guide's pictures of working comfortably: the shadow editor zoomed in, and its Edit menu
// with Undo, Redo and Load Shadows in Place.
#include "app/Unit1.h"
#include "app/toolkit/ClientArea.h"
#include "screenshots/WorkspaceShots.h"
#include "screenshots/guide/GuideImages.h"
#include "shadow/Unit3.h"
#include "shadow/Unit6.h"
#include "support/GuiTestSupport.h"
#include "support/MouseStrokes.h"

#include <QMenu>
#include <QPainter>
#include <QTest>

namespace {
TMDIShadow* PaintedEditor() {
    TGuideUser user;
    user.Opens.push_back(SamplePicture("clownfish-120x80.bmp", "clownfish.bmp"));
    return OpenGuideWorkspace() ? PaintSampleShadows() : nullptr;
}

void ComfortJourney(TGuidePictures& out) {
    TMDIShadow* editor = PaintedEditor();
    if (!editor) {
        out.Put("shadow-zoom", {});
        return;
    }
    editor->SetBounds(0, 0, 620, 370);
    gui_test::RunPostedEvents();
    // Ctrl and + twice from 100%, then scrolled to the first stroke with the pointer over it.
    TClientArea* area = editor->ClientArea();
    for (int i = 0; i < 2; ++i) {
        QTest::keyClick(area, Qt::Key_Plus, Qt::ControlModifier);
    }
    gui_test::RunPostedEvents();
    const QPoint stroke = QPoint(80, 62) * area->Zoom() / 100;
    area->ScrollTo(editor->Image1->mapTo(area->Content(), stroke) - QPoint(260, 150 + area->y()));
    gui_test::RunPostedEvents();
    gui_test::Hover(editor->Image1, stroke + QPoint(4, 4));
    out.Put("shadow-zoom", CropToChild(FrameStill(), editor));

    area->SetZoom(100);
    editor->Undo1->trigger();
    QMenu* menu = OpenFrameMenu("Edit1");
    if (!menu) {
        out.Put("shadow-edit-menu", {});
        return;
    }
    gui_test::RunPostedEvents();
    QImage still = FrameStill();
    const QPoint at = menu->geometry().topLeft() - Form1->geometry().topLeft();
    QPainter(&still).drawImage(at, menu->grab().toImage());
    const QRect editorRect(editor->mapTo(Form1, QPoint(0, 0)), editor->size());
    const QRect shown(QPoint(0, 0), QPoint(editorRect.right(), at.y() + menu->height() + 110));
    menu->hide();
    out.Put("shadow-edit-menu", still.copy(shown.intersected(still.rect())));
}

TRegisterJourney comfortJourney{"comfort", ComfortJourney};
} // namespace
