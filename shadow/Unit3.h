// TForm3, the pen settings window: a hidden, stay-on-top tool window for the whole run.
#pragma once

#include "app/toolkit/Form.h"

class QLabel;
class QScrollBar;

class TForm3 : public TForm {
    Q_OBJECT

  public:
    TForm3();

    QLabel* Label1;
    QScrollBar* ScrollBar1;
    QLabel* Label2;
    QScrollBar* ScrollBar2;
    QLabel* Label3;
    QScrollBar* ScrollBar3;
};

extern TForm3* Form3;
