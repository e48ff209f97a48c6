// TMDIShadow, the shadow editor: the fish picture shown twice, each copy over a hidden shadow
// surface that the soft pen darkens; erase, load from an existing sheet (stretched or in place),
// undo and redo, the workspace's Save, and a new version of the picture shown over the shadows.
#pragma once

#include "app/toolkit/Form.h"
#include "shadow/ShadowHistory.h"
#include "shadow/StrokeStamps.h"

#include <functional>
#include <memory>

class QAction;
class QMenuBar;
class QToolButton;
class TOpenDialog;

class TMDIShadow : public TForm {
    Q_OBJECT

  public:
    TMDIShadow();

    TPanel* Panel1 = nullptr;
    QToolButton* SpeedButton1 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    QToolButton* SpeedButton4 = nullptr;
    QToolButton* SpeedButton5 = nullptr;
    TImage* Image1 = nullptr; // picture view 1: the picture ANDed with shadow pattern 1
    TImage* Image2 = nullptr; // picture view 2: the picture ANDed with shadow pattern 2
    TImage* Image3 = nullptr; // shadow pattern 1, hidden
    TImage* Image4 = nullptr; // shadow pattern 2, hidden
    QMenuBar* MainMenu1 = nullptr;
    QAction* Save1 = nullptr;
    QAction* Close1 = nullptr;
    QAction* Undo1 = nullptr;
    QAction* Redo1 = nullptr;
    QAction* LoadShadowsInPlace1 = nullptr;
    QAction* ReloadPicture1 = nullptr;
    QAction* MaskPattern1 = nullptr;
    QAction* Animation1 = nullptr;
    QAction* Tile1 = nullptr;
    QAction* Cascade1 = nullptr;

    // Made in FormCreate, released in FormDestroy. The image controls hold copies of the four
    // surfaces the Fish Data command prepares; all drawing goes to those copies.
    std::unique_ptr<TBitmap> PictureBitmap;
    std::unique_ptr<TBitmap> ViewBitmap1;
    std::unique_ptr<TBitmap> ViewBitmap2;
    std::unique_ptr<TBitmap> ShadowBitmap1;
    std::unique_ptr<TBitmap> ShadowBitmap2;
    // The pen stamp as the pen settings window last drew it; painting reads only its width.
    std::unique_ptr<TBitmap> PenBitmap;
    bool Zoomed = false;
    bool PenDown = false;
    // The picture pixel of the press or of the stroke's last move, where the next move's
    // in-between stamps start on a view shown below 100%.
    StampPoint PenAt{0, 0};
    // The workspace's undo history of strokes, erases and loads; made in FormCreate, released
    // with the editor in FormDestroy.
    std::unique_ptr<ShadowHistory> History;

    // The Fish Data command's set-up once the caption names the picture: read it, decide the
    // zoom, size the four surfaces, fill the views, hand them to the images and lay the views out.
    void OpenPicture();
    // The same set-up on a picture already in memory (a recovery copy's).
    void OpenPicture(const TBitmap& picture);
    // Both shadow surfaces replaced, the views rebuilt over them: a recovery copy's shadows back.
    void RestoreShadows(const TBitmap& shadow1, const TBitmap& shadow2);
    // A new version of the picture, read from the same file, shown in both views. The shadows
    // stay pixel for pixel when it has the old one's size (and so its zoom), with the undo
    // history; otherwise they are carried over the new fish box (CarryShadows, with the fish's
    // `background`) and the history starts again.
    void ReplacePicture(const TBitmap& picture, TColor background);

  public slots:
    void FormCreate();
    void FormActivate();
    void FormClose(TCloseAction& action);
    void FormDestroy();
    void Image1MouseDown(TMouseButton button, int x, int y);
    void Image1MouseMove(TMouseButton button, int x, int y);
    void Image1MouseUp(TMouseButton button, int x, int y);
    void Image2MouseDown(TMouseButton button, int x, int y);
    void Image2MouseMove(TMouseButton button, int x, int y);
    void Image2MouseUp(TMouseButton button, int x, int y);
    void SpeedButton1Click();
    void Save1Click();
    void SpeedButton2Click();
    void MaskPattern1Click();
    void SpeedButton3Click();
    void Animation1Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void Close1Click();
    void Tile1Click();
    void Cascade1Click();
    void Undo1Click();
    void Redo1Click();
    void LoadShadowsInPlace1Click();
    void ReloadPicture1Click();

  protected:
    void FindComponents() override;

  private:
    int ZoomFactor() const { return Zoomed ? 2 : 1; }
    void Paint(int pair, int x, int y);
    void ShowPenOutline();
    // Reads the sheet chosen in `dialog`; false when the dialog was cancelled.
    bool AskForSheet(TOpenDialog& dialog, TBitmap& sheet);
    // Both views back to the plain (zoomed) picture.
    void RestoreViews();
    // Both views rebuilt as the picture ANDed with its shadow.
    void ShowShadowsOverPicture();
    // The four surfaces handed to the images, and the views laid out below the tool bar.
    void ShowSurfaces();
    // The surfaces of the four images in the history's order.
    HistorySurfaces Surfaces();
    // Runs a command that may change any pixel of the four surfaces as one step of the history.
    void RecordStep(const std::function<void()>& command);
    // Ends the stroke being recorded, if any.
    void EndStroke();
    void UpdateEditMenu();

    // The history's steps hold view pixels of an earlier version of the picture: after an undo
    // or redo the views are rebuilt from the picture and the shadows.
    bool ViewsOfEarlierPicture = false;
};
