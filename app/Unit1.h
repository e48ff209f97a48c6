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

    // The picture files given on the command line, handled as one drop on the frame once the
    // event loop has shown it; nothing for none.
    void OpenWhenShown(const TFileList& files);

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
    // Files dropped from a file manager: a menu of the three work commands, the chosen one run
    // on the files as if each had been chosen in the Open dialog.
    void FormDragDrop(TFileList files);

  protected:
    void FindComponents() override;

  private:
    // What Accessory Data does with an existing file once it is chosen.
    void OpenAccessoryData(const std::string& path);
};

extern TForm1* Form1;
