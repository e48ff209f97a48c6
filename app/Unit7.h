// TForm7, the About box: a fixed-size dialog window shown modeless and hidden again.
#pragma once

#include "app/toolkit/Form.h"

class QLabel;
class QPushButton;

class TForm7 : public TForm {
    Q_OBJECT

  public:
    TForm7();

    TPanel* Panel1;
    TImage* Image2;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QPushButton* Button1;

  public slots:
    void Button1Click();

  protected:
    void FindComponents() override;
};

extern TForm7* Form7;
