// TMDIRotate, the rotation window: one fish data sheet turned up and down by the angle in its
// edit, the up and down sheets it writes beside the source, and the sheet followed on disk.
#pragma once

#include "app/Messages.h"
#include "app/toolkit/Form.h"
#include "raster/TBitmap.h"

#include <string>

class QAction;
class QMenuBar;
class QPushButton;
class QToolButton;
class TFileWatch;

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
    QAction* ReloadPicture1 = nullptr;
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
    // Follows the sheet's file while the window lives (made by OpenRotationWindow).
    TFileWatch* PictureWatch = nullptr;

    // The sheet read again from its file and both copies turned again at the current Angle, as
    // ShowRotation does when it loads. A window that never showed its sheet stays as it is (its
    // first Rotate reads the file as it is then). A file that cannot be read raises before
    // anything changes.
    void ReloadPicture();

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
    void ReloadPicture1Click();
    void Tile1Click();
    void Cascade1Click();

  protected:
    void FindComponents() override;

  private:
    void RotateQuadrant(int quadrant);
    void ReadAngle();
    void ShowRotation();
    // ShowRotation once the sheet is loaded: the image quadrant turned and shown.
    void ShowTurnedSheet();
    void CreateData();
};

// The Rotate command's window: a new rotation window on the sheet at `path`, nothing shown yet.
TMDIRotate* OpenRotationWindow(const std::string& path);
