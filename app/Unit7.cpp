// The About box: OK hides it; it lives for the whole run.
#include "app/Unit7.h"

#include "version/Version.h"

#include <QLabel>
#include <QPushButton>

TForm7* Form7 = nullptr;

TForm7::TForm7() {
    Load("Unit7");
    Label2->setText(QString("Version %1").arg(QString::fromUtf8(kVelmoraVersion)));
}

void TForm7::FindComponents() {
    Find(Panel1, "Panel1");
    Find(Image2, "Image2");
    Find(Label1, "Label1");
    Find(Label2, "Label2");
    Find(Label3, "Label3");
    Find(Label4, "Label4");
    Find(Button1, "Button1");
}

void TForm7::Button1Click() {
    Hide();
}
