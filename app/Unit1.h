// TForm1, the main window: the MDI frame with its tool bar, menu and the shared file dialogs.
#pragma once

#include "app/toolkit/Dialogs.h"
#include "app/toolkit/Form.h"

class QAction;
class QMenuBar;
class QPushButton;

class TForm1 : public TForm {
    Q_OBJECT

  public:
    TForm1();

    TPanel* Panel1;
    QPushButton* BitBtn2;
    QPushButton* BitBtn3;
    QPushButton* BitBtn1;
    QPushButton* BitBtn4;
    QMenuBar* MainMenu1;
    QAction* FishData1;
    QAction* RotationData1;
    QAction* AccessoryData1;
    QAction* Exit1;
    QAction* Tile1;
    QAction* Cascade1;
    QAction* Version1;
    TOpenDialog* OpenDialog1;
    TSaveDialog* SaveDialog1;

  public slots:
    void BitBtn2Click();
    void FishData1Click();
    void BitBtn3Click();
    void RotationData1Click();
    void BitBtn1Click();
    void AccessoryData1Click();
    void BitBtn4Click();
    void Exit1Click();
    void Tile1Click();
    void Cascade1Click();
    void Version1Click();

  protected:
    void FindComponents() override;
};

extern TForm1* Form1;
