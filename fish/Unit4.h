// TMDIFish, the fish window: the fish picture, its background colour held by the swatch, and
// the workspace's Save and Reload Picture.
#pragma once

#include "app/toolkit/Form.h"

class QAction;
class TFileWatch;
class QLabel;
class QMenuBar;
class QToolButton;

class TMDIFish : public TForm {
    Q_OBJECT

  public:
    TMDIFish();
    // Loads the picture into Image1. The transparent pixels of a PNG picture are its background:
    // the swatch takes the colour they were given at once, as a click on one of them would.
    void OpenPicture(const std::string& path);

    TPanel* Panel1 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    TImage* Image2 = nullptr; // the background swatch: its pixel (5, 5) is the background colour
    QLabel* Label1 = nullptr;
    TImage* Image1 = nullptr; // the fish picture
    QMenuBar* MainMenu1 = nullptr;
    QAction* Save1 = nullptr;
    QAction* Close1 = nullptr;
    QAction* ReloadPicture1 = nullptr;
    QAction* ShadowPattern1 = nullptr;
    QAction* Animation1 = nullptr;
    QAction* Tile1 = nullptr;
    QAction* Cascade1 = nullptr;

    // Follows the picture's file for the workspace while the window lives (made by the Fish Data
    // command; none before).
    TFileWatch* PictureWatch = nullptr;

  public slots:
    void FormCreate();
    void FormActivate();
    void FormClose(TCloseAction& action);
    void FormDestroy();
    void Image1MouseUp(TMouseButton button, int x, int y);
    void Save1Click();
    void SpeedButton1Click();
    void Close1Click();
    void ReloadPicture1Click();
    void ShadowPattern1Click();
    void SpeedButton2Click();
    void Animation1Click();
    void SpeedButton3Click();
    void Tile1Click();
    void Cascade1Click();

    // The background swatch all of one colour: the background colour.
    void FillSwatch(TColor colour);

  protected:
    void FindComponents() override;
};
