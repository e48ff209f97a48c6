// The shadow editor: its set-up on a picture, painting with the soft pen, erasing, loading the
// shadows back from a sheet, undo and redo, and the workspace's buttons and menus.
#include "shadow/Unit6.h"

#include "app/Unit1.h"
#include "app/WorkspaceRecovery.h"
#include "fish/SheetComposer.h"
#include "fish/Unit9.h"
#include "raster/PictureMemory.h"
#include "shadow/ShadowPaint.h"
#include "shadow/ShadowsInPlace.h"
#include "shadow/Unit3.h"

#include <QAction>
#include <QKeySequence>
#include <QMenuBar>
#include <QToolButton>
#include <filesystem>

namespace {

// Stretches the whole of `source` over the whole of the control's surface with a plain copy.
void StretchOnto(TImage* image, const TCanvas& source, const TRect& sourceRect) {
    TCanvas& canvas = image->Canvas();
    canvas.CopyMode = cmSrcCopy;
    canvas.CopyRect(Rect(0, 0, image->Width(), image->Height()), source, sourceRect);
}

void AndOnto(TImage* view, TImage* shadow) {
    TCanvas& canvas = view->Canvas();
    canvas.CopyMode = cmSrcAnd;
    canvas.CopyRect(Rect(0, 0, view->Width(), view->Height()), shadow->Canvas(),
                    Rect(0, 0, view->Width(), view->Height()));
    canvas.CopyMode = cmSrcCopy;
}

void FillWhite(TImage* image) {
    TCanvas& canvas = image->Canvas();
    canvas.Brush.Color = clWhite;
    canvas.FillRect(Rect(0, 0, image->Width(), image->Height()));
}

} // namespace

TMDIShadow::TMDIShadow() {
    Load("Unit6");
}

void TMDIShadow::FindComponents() {
    Find(Panel1, "Panel1");
    Find(SpeedButton1, "SpeedButton1");
    Find(SpeedButton2, "SpeedButton2");
    Find(SpeedButton3, "SpeedButton3");
    Find(SpeedButton4, "SpeedButton4");
    Find(SpeedButton5, "SpeedButton5");
    Find(Image1, "Image1");
    Find(Image2, "Image2");
    Find(Image3, "Image3");
    Find(Image4, "Image4");
    Find(MainMenu1, "MainMenu1");
    Find(Save1, "Save1");
    Find(Close1, "Close1");
    Find(MaskPattern1, "MaskPattern1");
    Find(Animation1, "Animation1");
    Find(Tile1, "Tile1");
    Find(Cascade1, "Cascade1");
    Find(Undo1, "Undo1");
    Find(Redo1, "Redo1");
    Find(LoadShadowsInPlace1, "LoadShadowsInPlace1");
    Find(ReloadPicture1, "ReloadPicture1");
    // Redo answers both usual keys; the menu shows the first.
    Redo1->setShortcuts({Redo1->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
}

void TMDIShadow::FormCreate() {
    PictureBitmap = std::make_unique<TBitmap>();
    ViewBitmap1 = std::make_unique<TBitmap>();
    ViewBitmap2 = std::make_unique<TBitmap>();
    ShadowBitmap1 = std::make_unique<TBitmap>();
    ShadowBitmap2 = std::make_unique<TBitmap>();
    PenBitmap = std::make_unique<TBitmap>();
    PenBitmap->SetMonochrome(false);
    // The pen settings window writes the stamp here whenever the pen changes.
    PenBitmap->OnChange = [this] { ShowPenOutline(); };
    History = std::make_unique<ShadowHistory>();
    UpdateEditMenu();
}

// The pointer over a view outlines the square a paint step can reach, 2h - 1 pixels across.
void TMDIShadow::ShowPenOutline() {
    const int h = PenBitmap->Width() / 2;
    const int diameter = h > 0 ? 2 * h - 1 : 0;
    Image1->SetPenOutline(diameter);
    Image2->SetPenOutline(diameter);
}

void TMDIShadow::FormDestroy() {
    Form3->Hide();
    PictureBitmap.reset();
    ViewBitmap1.reset();
    ViewBitmap2.reset();
    ShadowBitmap1.reset();
    ShadowBitmap2.reset();
    PenBitmap.reset();
    History.reset();
}

void TMDIShadow::OpenPicture() {
    PictureBitmap->LoadFromFile(Caption());
    OpenPicture(*PictureBitmap);
}

void TMDIShadow::OpenPicture(const TBitmap& picture) {
    if (&picture != PictureBitmap.get()) {
        PictureBitmap->Assign(picture);
    }
    const int w = PictureBitmap->Width();
    const int h = PictureBitmap->Height();
    Zoomed = ZoomFactorFor(w, h) == 2;
    const int a = ZoomFactor();

    // Empty surfaces take white in their new area, so the shadows start all white.
    TBitmap* surfaces[] = {ViewBitmap1.get(), ViewBitmap2.get(), ShadowBitmap1.get(),
                           ShadowBitmap2.get()};
    for (TBitmap* surface : surfaces) {
        surface->SetWidth(a * w);
    }
    for (TBitmap* surface : surfaces) {
        surface->SetHeight(a * h);
    }
    ViewBitmap1->Canvas().CopyRect(Rect(0, 0, a * w, a * h), PictureBitmap->Canvas(),
                                   Rect(0, 0, w, h));
    ViewBitmap2->Canvas().CopyRect(Rect(0, 0, a * w, a * h), PictureBitmap->Canvas(),
                                   Rect(0, 0, w, h));
    ShowSurfaces();
}

void TMDIShadow::ShowSurfaces() {
    const int w = PictureBitmap->Width();
    const int h = PictureBitmap->Height();
    const int a = ZoomFactor();
    Image1->Picture().Assign(*ViewBitmap1);
    Image2->Picture().Assign(*ViewBitmap2);
    Image3->Picture().Assign(*ShadowBitmap1);
    Image4->Picture().Assign(*ShadowBitmap2);

    // A picture more than twice as wide as high puts the second view below the first.
    const int p = Panel1->height();
    Image1->MoveTo(0, p);
    if (2 * h < w) {
        Image2->MoveTo(0, p + a * h);
    } else {
        Image2->MoveTo(a * w, p);
    }
}

void TMDIShadow::RestoreShadows(const TBitmap& shadow1, const TBitmap& shadow2) {
    Image3->Picture().Assign(shadow1);
    Image4->Picture().Assign(shadow2);
    ShowShadowsOverPicture();
}

void TMDIShadow::ReplacePicture(const TBitmap& picture, TColor background) {
    // A stroke under way ends here as a step of its own; the next move starts another.
    EndStroke();
    const bool sameSize =
        picture.Width() == PictureBitmap->Width() && picture.Height() == PictureBitmap->Height();
    if (sameSize) {
        *PictureBitmap = picture;
        ViewsOfEarlierPicture = History->CanUndo() || History->CanRedo();
        ShowShadowsOverPicture();
        return;
    }
    const int zoom = ZoomFactorFor(picture.Width(), picture.Height());
    CarriedShadows carried = CarryShadows(*PictureBitmap, ZoomFactor(), Image3->Canvas().Surface(),
                                          Image4->Canvas().Surface(), picture, zoom, background);
    *PictureBitmap = picture;
    Zoomed = zoom == 2;
    *ShadowBitmap1 = std::move(carried.Shadow1);
    *ShadowBitmap2 = std::move(carried.Shadow2);
    // The views are drawn once they are the images' own.
    *ViewBitmap1 = TBitmap(ShadowBitmap1->Width(), ShadowBitmap1->Height());
    *ViewBitmap2 = TBitmap(ShadowBitmap1->Width(), ShadowBitmap1->Height());
    ShowSurfaces();
    ShowShadowsOverPicture();
    History->Clear();
    ViewsOfEarlierPicture = false;
    UpdateEditMenu();
}

void TMDIShadow::FormActivate() {
    Form3->Show();
}

void TMDIShadow::FormClose(TCloseAction& action) {
    CloseFishWorkspace();
    action = TCloseAction::caFree;
}

HistorySurfaces TMDIShadow::Surfaces() {
    return {&Image1->Canvas().Surface(), &Image2->Canvas().Surface(), &Image3->Canvas().Surface(),
            &Image4->Canvas().Surface()};
}

void TMDIShadow::UpdateEditMenu() {
    Undo1->setEnabled(History && History->CanUndo());
    Redo1->setEnabled(History && History->CanRedo());
}

// Pair 0 is view 1 over shadow 1, pair 1 view 2 over shadow 2; the history counts the views first.
void TMDIShadow::Paint(int pair, int x, int y) {
    if (!PenDown) {
        return;
    }
    TImage* view = pair == 0 ? Image1 : Image2;
    TImage* shadow = pair == 0 ? Image3 : Image4;
    // A stroke is recorded from its first move: a press and release alone is no step.
    const bool firstMove = !History->Recording();
    if (firstMove) {
        History->BeginStroke(Surfaces());
    }
    const int penWidth = PenBitmap->Width();
    // Zoomed out, one move crosses several pen widths of picture; the stamps between are part of
    // the same stroke.
    for (const StampPoint& at : StrokeStamps(PenAt, StampPoint{x, y}, view->Zoom(), firstMove)) {
        const TRect square = PaintSquare(penWidth, at.X, at.Y);
        History->Touch(pair, square);
        History->Touch(2 + pair, square);
        // The stamp comes from the pen settings window's own client area, as it shows it now.
        PaintShadowStep(Form3->Canvas(), penWidth, at.X, at.Y, shadow->Canvas().Surface(),
                        view->Canvas().Surface());
    }
    PenAt = StampPoint{x, y};
    DataSaved = false;
}

void TMDIShadow::EndStroke() {
    if (History && History->Recording()) {
        History->EndStep();
        UpdateEditMenu();
        ScheduleRecoveryWrite();
    }
}

void TMDIShadow::Image1MouseDown(TMouseButton, int x, int y) {
    PenDown = true;
    PenAt = StampPoint{x, y};
}

void TMDIShadow::Image1MouseMove(TMouseButton, int x, int y) {
    Paint(0, x, y);
}

void TMDIShadow::Image1MouseUp(TMouseButton, int, int) {
    PenDown = false;
    EndStroke();
}

void TMDIShadow::Image2MouseDown(TMouseButton, int x, int y) {
    PenDown = true;
    PenAt = StampPoint{x, y};
}

void TMDIShadow::Image2MouseMove(TMouseButton, int x, int y) {
    Paint(1, x, y);
}

void TMDIShadow::Image2MouseUp(TMouseButton, int, int) {
    PenDown = false;
    EndStroke();
}

void TMDIShadow::RestoreViews() {
    const TRect whole = Rect(0, 0, PictureBitmap->Width(), PictureBitmap->Height());
    StretchOnto(Image1, PictureBitmap->Canvas(), whole);
    StretchOnto(Image2, PictureBitmap->Canvas(), whole);
}

void TMDIShadow::ShowShadowsOverPicture() {
    RestoreViews();
    AndOnto(Image1, Image3);
    AndOnto(Image2, Image4);
}

// What the command changed, even when it failed halfway, is one step.
void TMDIShadow::RecordStep(const std::function<void()>& command) {
    History->BeginWholeStep(Surfaces());
    try {
        command();
    } catch (...) {
        History->EndStep();
        UpdateEditMenu();
        ScheduleRecoveryWrite();
        throw;
    }
    History->EndStep();
    UpdateEditMenu();
    ScheduleRecoveryWrite();
}

// Erase: the plain picture in both views, both shadows white.
void TMDIShadow::SpeedButton4Click() {
    RecordStep([this] {
        RestoreViews();
        FillWhite(Image3);
        FillWhite(Image4);
    });
}

// Both loads: a sheet chosen in an Open dialog, read once its memory is known to fit.
bool TMDIShadow::AskForSheet(TOpenDialog& dialog, TBitmap& sheet) {
    if (!dialog.Execute()) {
        return false;
    }
    RequireMemoryFor(PictureUse::ShadowSheet, dialog.FileName);
    sheet.LoadFromFile(dialog.FileName);
    LastSheetPath = dialog.FileName;
    return true;
}

// Load shadows: each bottom quadrant of a sheet stretched over a whole shadow surface, then
// the views rebuilt as picture AND shadow. Nothing changes when the file cannot be read.
void TMDIShadow::SpeedButton5Click() {
    TBitmap sheet;
    if (!AskForSheet(*Form1->OpenDialog1, sheet)) {
        return;
    }
    const int W = sheet.Width();
    const int H = sheet.Height();
    RecordStep([&] {
        StretchOnto(Image3, sheet.Canvas(), Rect(0, H / 2, W / 2, H));
        StretchOnto(Image4, sheet.Canvas(), Rect(W / 2, H / 2, W, H));
        ShowShadowsOverPicture();
    });
}

// Load Shadows in Place: a sheet's shadow quadrants go back over the fish's box, where the sheet
// composer took them from, provided the sheet was made for a box of this size.
// Its dialog starts in the folder of this workspace's last sheet (the picture's before any),
// with no name filled in, so Enter cannot feed the picture itself in as a sheet.
void TMDIShadow::LoadShadowsInPlace1Click() {
    TOpenDialog dialog;
    dialog.Filter = Form1->OpenDialog1->Filter;
    const std::string& near = LastSheetPath.empty() ? Caption() : LastSheetPath;
    dialog.InitialDir = std::filesystem::path(near).parent_path().string();
    TBitmap sheet;
    if (!AskForSheet(dialog, sheet)) {
        return;
    }
    // A sheet of another size throws before anything changes.
    RecordStep([&] {
        PlaceSheetShadows(sheet, SheetFishBox(), ZoomFactor(), Image3->Canvas().Surface(),
                          Image4->Canvas().Surface(), SheetBackgroundOnBorder());
        ShowShadowsOverPicture();
    });
}

// Undo and redo count as paint steps: the data is no longer what was saved.
void TMDIShadow::Undo1Click() {
    if (History->Undo(Surfaces())) {
        DataSaved = false;
        ScheduleRecoveryWrite();
        if (ViewsOfEarlierPicture) {
            ShowShadowsOverPicture();
        }
    }
    UpdateEditMenu();
}

void TMDIShadow::Redo1Click() {
    if (History->Redo(Surfaces())) {
        DataSaved = false;
        ScheduleRecoveryWrite();
        if (ViewsOfEarlierPicture) {
            ShowShadowsOverPicture();
        }
    }
    UpdateEditMenu();
}

void TMDIShadow::ReloadPicture1Click() {
    ReloadFishWorkspace();
}

void TMDIShadow::Save1Click() {
    SaveFishData();
}

void TMDIShadow::SpeedButton1Click() {
    Save1Click();
}

void TMDIShadow::MaskPattern1Click() {
    ShowFishWindow();
}

void TMDIShadow::SpeedButton2Click() {
    MaskPattern1Click();
}

void TMDIShadow::Animation1Click() {
    ShowAnimWindow();
}

void TMDIShadow::SpeedButton3Click() {
    Animation1Click();
}

void TMDIShadow::Close1Click() {
    CloseFishWorkspace();
}

void TMDIShadow::Tile1Click() {
    Form1->Tile1Click();
}

void TMDIShadow::Cascade1Click() {
    Form1->Cascade1Click();
}
