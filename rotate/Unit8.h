// TMDIRotate, the rotation window: one fish data sheet turned up and down by the angle in its
// edit, and the up and down sheets it writes beside the source.
#pragma once

#include "app/Messages.h"
#include "app/toolkit/Form.h"
#include "raster/TBitmap.h"

#include <string>

class QAction;
class QMenuBar;
class QPushButton;
class QToolButton;

class TMDIRotate : public TForm {
    Q_OBJECT

  public:
    TMDIRotate();

    TPanel* Panel1 = nullptr;
    TEdit* Edit1 = nullptr;
    TImage* Image1 = nullptr;
    TImage* Image2 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QMenuBar* MainMenu1 = nullptr;
    QAction* Save1 = nullptr;
    QAction* Close1 = nullptr;
    QAction* Rotate1 = nullptr;
    QAction* Tile1 = nullptr;
    QAction* Cascade1 = nullptr;

    // The sheet as last loaded from the file named by the caption, and the copies of the
    // quadrant turned last.
    TBitmap SourceBitmap;
    TBitmap UpBitmap;
    TBitmap DownBitmap;
    int Angle = 0;
    // The next ShowRotation loads the file and turns the picture again.
    bool NeedsReload = false;
    // The up and down sheets have not been written since the window opened, the picture was
    // last shown or the angle text last changed.
    bool Unsaved = false;

  public slots:
    void FormCreate();
    void FormCloseQuery(bool& canClose);
    void FormClose(TCloseAction& action);
    void Edit1Change();
    void Edit1Exit();
    void Edit1KeyDown(int& key);
    void BitBtn1Click();
    void Rotate1Click();
    void SpeedButton1Click();
    void Save1Click();
    void Close1Click();
    void Tile1Click();
    void Cascade1Click();

  protected:
    void FindComponents() override;

  private:
    void RotateQuadrant(int quadrant);
    void ReadAngle();
    void ShowRotation();
    void CreateData();
};

// The Rotate command's window: a new rotation window on the sheet at `path`, nothing shown yet.
TMDIRotate* OpenRotationWindow(const std::string& path);
