// TMDIAcc, the accessory window: a decoration's picture, the background colour picked from it,
// the cropped picture and mask files it saves, and the picture followed on disk.
#pragma once

#include "app/Messages.h"
#include "app/toolkit/Form.h"
#include "raster/TColor.h"

#include <string>

class QAction;
class QLabel;
class QMenuBar;
class QToolButton;
class TFileWatch;
class TSaveDialog;

class TMDIAcc : public TForm {
    Q_OBJECT

  public:
    TMDIAcc();
    // Loads the picture into Image2. The transparent pixels of a PNG picture are its background:
    // the swatch takes the colour they were given at once, as a click on one of them would.
    void OpenPicture(const std::string& path);

    TPanel* Panel1 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    TImage* Image1 = nullptr;
    QLabel* Label1 = nullptr;
    TImage* Image2 = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;
    QMenuBar* MainMenu1 = nullptr;
    QAction* Save1 = nullptr;
    QAction* Close1 = nullptr;
    QAction* ReloadPicture1 = nullptr;
    QAction* Tile1 = nullptr;
    QAction* Cascade1 = nullptr;

    // The accessory files have not been written since the window opened or since the
    // background colour was last picked.
    bool Unsaved = false;
    // Follows the picture's file while the window lives (made by OpenAccessoryWindow).
    TFileWatch* PictureWatch = nullptr;

    // The picture read again from its file with the command's loader; the background colour
    // stays and Unsaved is set. A file that cannot be read raises before anything changes.
    void ReloadPicture();

  public slots:
    void FormCreate();
    void FormCloseQuery(bool& canClose);
    void FormClose(TCloseAction& action);
    void Image2MouseUp(TMouseButton button, int x, int y);
    void SpeedButton1Click();
    void Save1Click();
    void Close1Click();
    void ReloadPicture1Click();
    void Tile1Click();
    void Cascade1Click();

  protected:
    void FindComponents() override;

  private:
    void FillSwatch(TColor colour);
    TColor Background();
    void Save();
};

// The Accessory Data command's window: a new accessory window showing the picture at `path`.
// A picture that cannot be read raises after the window is open.
TMDIAcc* OpenAccessoryWindow(const std::string& path);
