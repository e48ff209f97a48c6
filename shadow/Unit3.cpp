// The pen settings window's components; its pen drawing and slider handlers are bound here.
#include "shadow/Unit3.h"

#include <QLabel>
#include <QScrollBar>

TForm3* Form3 = nullptr;

TForm3::TForm3() {
    Load("Unit3");
    Label1 = Component<QLabel>("Label1");
    ScrollBar1 = Component<QScrollBar>("ScrollBar1");
    Label2 = Component<QLabel>("Label2");
    ScrollBar2 = Component<QScrollBar>("ScrollBar2");
    Label3 = Component<QLabel>("Label3");
    ScrollBar3 = Component<QScrollBar>("ScrollBar3");
}
