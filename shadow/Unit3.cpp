// The pen settings window: placing it on show, its three sliders, and drawing the pen stamp.
//
// The client area is the toolkit's retained surface, which the paint handler draws on screen:
// the shadow editor reads its stamp from there, so it gets exactly what was drawn even while
// another window covers this one.
#include "shadow/Unit3.h"

#include "app/Unit1.h"
#include "shadow/Unit6.h"

#include <QLabel>
#include <QScrollBar>

TForm3* Form3 = nullptr;

TForm3::TForm3() {
    Load("Unit3");
}

void TForm3::FindComponents() {
    Find(Label1, "Label1");
    Find(ScrollBar1, "ScrollBar1");
    Find(Label2, "Label2");
    Find(ScrollBar2, "ScrollBar2");
    Find(Label3, "Label3");
    Find(ScrollBar3, "ScrollBar3");
}

void TForm3::DrawPen() {
    TCanvas& area = Canvas();
    DrawPenStamp(area, PenSettings{PenWidth, CenterSize, PenDensity});
    for (int i = 0; i < Form1->MDIChildCount(); ++i) {
        if (auto* editor = qobject_cast<TMDIShadow*>(Form1->MDIChildren(i))) {
            CopyPenStamp(area, PenWidth, *editor->PenBitmap);
        }
    }
}

// The two windows' top-right corners meet, wherever the user had moved this one.
void TForm3::FormShow() {
    SetBounds(Form1->Left() + Form1->Width() - Width(), Form1->Top(), Width(), Height());
    PenWidth = ScrollBar1->value();
    CenterSize = CenterSizeFor(ScrollBar1->value(), ScrollBar2->value());
    PenDensity = ScrollBar3->value();
}

void TForm3::FormPaint() {
    DrawPen();
}

void TForm3::ScrollBar1Change() {
    PenWidth = ScrollBar1->value();
    DrawPen();
}

void TForm3::ScrollBar2Change() {
    CenterSize = CenterSizeFor(ScrollBar1->value(), ScrollBar2->value());
    DrawPen();
}

void TForm3::ScrollBar3Change() {
    PenDensity = ScrollBar3->value();
    DrawPen();
}
