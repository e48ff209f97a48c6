// TMDIAnim, the animation preview: on every activation the sheet is composed afresh and the fish
// under its two shadow patterns alternates every 50 ms; Save writes the last composed sheet.
#pragma once

#include "app/toolkit/Form.h"

#include <memory>

class QAction;
class QMenuBar;
class QToolButton;

class TMDIAnim : public TForm {
    Q_OBJECT

  public:
    TMDIAnim();

    TPanel* Panel1 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    TTimer* Timer1 = nullptr;
    QMenuBar* MainMenu1 = nullptr;
    QAction* Save1 = nullptr;
    QAction* Clase1 = nullptr;
    QAction* Main1 = nullptr;
    QAction* ShadowPattern1 = nullptr;
    QAction* Tile1 = nullptr;
    QAction* Cascade1 = nullptr;

    // Made in FormCreate, released in FormDestroy.
    std::unique_ptr<TBitmap> SheetBitmap;   // the sheet of the last activation (0 x 0 before)
    std::unique_ptr<TBitmap> PreviewBitmap; // frame 1 left, frame 2 right
    // Which frame the next tick draws; flipped by every tick, never reset.
    bool ShowFrame1 = false;

    // The sheet composed afresh and both frames built from it, the window grown to fit: what
    // every activation does with a complete workspace, also run when its picture is read again.
    void ComposePreview();

  public slots:
    void FormCreate();
    void FormActivate();
    void FormDeactivate();
    void FormClose(TCloseAction& action);
    void FormDestroy();
    void Timer1Timer();
    void Save1Click();
    void SpeedButton1Click();
    void Close1Click();
    void Main1Click();
    void SpeedButton2Click();
    void ShadowPattern1Click();
    void SpeedButton3Click();
    void Tile1Click();
    void Cascade1Click();

  protected:
    void FindComponents() override;

  private:
    // Never shrinks: only a client dimension too small for one frame below the tool bar grows.
    void GrowToFit(int frameWidth, int frameHeight);
};
