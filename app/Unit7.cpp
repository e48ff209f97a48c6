// The About box: OK hides it; it lives for the whole run.
#include "app/Unit7.h"

#include "version/Version.h"

#include <QLabel>
#include <QPushButton>

TForm7* Form7 = nullptr;

TForm7::TForm7() {
    Bind("Button1Click", &TForm7::Button1Click);
    Load("Unit7");
    Panel1 = Component<TPanel>("Panel1");
    Image2 = Component<TImage>("Image2");
    Label1 = Component<QLabel>("Label1");
    Label2 = Component<QLabel>("Label2");
    Label2->setText(QString("Version %1").arg(QString::fromUtf8(kVelmoraVersion)));
    Label3 = Component<QLabel>("Label3");
    Label4 = Component<QLabel>("Label4");
    Button1 = Component<QPushButton>("Button1");
}

void TForm7::Button1Click() {
    Hide();
}
