// The rotation window's handlers: reading the angle, showing the turned image quadrant, writing
// the up and down sheets, and the question asked on closing.
#include "rotate/Unit8.h"

#include "app/Unit1.h"
#include "app/toolkit/Application.h"
#include "app/toolkit/Dialogs.h"
#include "app/toolkit/FileWatch.h"
#include "raster/Bmp.h"
#include "raster/PictureMemory.h"
#include "rotate/AngleText.h"
#include "rotate/RotationTransform.h"
#include "rotate/UpDownSheets.h"

#include <QAction>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>

TMDIRotate::TMDIRotate() {
    Load("Unit8");
}

void TMDIRotate::FindComponents() {
    Find(Panel1, "Panel1");
    Find(Edit1, "Edit1");
    Find(Image1, "Image1");
    Find(Image2, "Image2");
    Find(SpeedButton1, "SpeedButton1");
    Find(BitBtn1, "BitBtn1");
    Find(MainMenu1, "MainMenu1");
    Find(Save1, "Save1");
    Find(Close1, "Close1");
    Find(ReloadPicture1, "ReloadPicture1");
    Find(Rotate1, "Rotate1");
    Find(Tile1, "Tile1");
    Find(Cascade1, "Cascade1");
}

TMDIRotate* OpenRotationWindow(const std::string& path) {
    auto* window = new TMDIRotate();
    window->SetCaption(path);
    window->PictureWatch = new TFileWatch(window, path, [window] { window->ReloadPicture(); });
    return window;
}

void TMDIRotate::FormCreate() {
    NeedsReload = true;
    Unsaved = true;
}

void TMDIRotate::FormCloseQuery(bool& canClose) {
    canClose = true;
}

void TMDIRotate::FormClose(TCloseAction& action) {
    // A Create Data that fails here raises before the action is set, so the window stays open.
    if (Unsaved && WarningBox(kUpDownClosePrompt) == TMsgResult::mrYes) {
        CreateData();
    }
    action = TCloseAction::caFree;
}

void TMDIRotate::Edit1Change() {
    Unsaved = true;
}

void TMDIRotate::Edit1Exit() {
    ReadAngle();
    NeedsReload = true;
}

void TMDIRotate::Edit1KeyDown(int& key) {
    if (key != 13) {
        return;
    }
    ReadAngle();
    NeedsReload = true;
    ShowRotation();
}

void TMDIRotate::BitBtn1Click() {
    ShowRotation();
}

void TMDIRotate::Rotate1Click() {
    BitBtn1Click();
}

void TMDIRotate::SpeedButton1Click() {
    CreateData();
}

void TMDIRotate::Save1Click() {
    SpeedButton1Click();
}

void TMDIRotate::Close1Click() {
    Close();
}

void TMDIRotate::ReloadPicture1Click() {
    ReloadPicture();
}

void TMDIRotate::Tile1Click() {
    Form1->Tile1Click();
}

void TMDIRotate::Cascade1Click() {
    Form1->Cascade1Click();
}

void TMDIRotate::RotateQuadrant(int quadrant) {
    ::RotateQuadrant(SourceBitmap, Angle, quadrant, UpBitmap, DownBitmap);
}

void TMDIRotate::ReadAngle() {
    Angle = AngleFromText(Edit1->Text());
    Edit1->SetText(std::to_string(Angle));
}

void TMDIRotate::ShowRotation() {
    if (!NeedsReload || !FileExists(Caption())) {
        return;
    }
    RequireMemoryFor(PictureUse::UpDownSheets, Caption());
    SourceBitmap.LoadFromFile(Caption());
    ShowTurnedSheet();
}

void TMDIRotate::ReloadPicture() {
    if (SourceBitmap.Empty()) {
        return;
    }
    if (PictureWatch) {
        PictureWatch->Rebase();
    }
    RequireMemoryFor(PictureUse::UpDownSheets, Caption());
    TBitmap sheet;
    sheet.LoadFromFile(Caption());
    SourceBitmap = std::move(sheet);
    ShowTurnedSheet();
}

void TMDIRotate::ShowTurnedSheet() {
    RotateQuadrant(0);
    // The up copy and the down copy side by side under the panel.
    Image1->MoveTo(0, Panel1->height());
    Image2->MoveTo(UpBitmap.Width(), Panel1->height());
    Image1->Picture().Assign(UpBitmap);
    Image2->Picture().Assign(DownBitmap);
    NeedsReload = false;
    Unsaved = true;
}

void TMDIRotate::CreateData() {
    if (!Unsaved) {
        InformationBox(kUpDownDoneMessage);
        return;
    }
    ReadAngle();
    if (SourceBitmap.Empty()) {
        // Never shown: the sheet is loaded first, so that its own turned sheets are written
        // rather than empty ones over the files already there.
        NeedsReload = true;
        ShowRotation();
    }
    {
        THourglass hourglass(SpeedButton1);
        const UpDownSheets sheets = BuildUpDownSheets(SourceBitmap, Angle, UpBitmap, DownBitmap);
        const UpDownNames names = UpDownFileNames(Caption());
        WriteBmpFile(sheets.Up, names.Up);
        WriteBmpFile(sheets.Down, names.Down);
    }
    Unsaved = false;
    InformationBox(kUpDownDoneMessage);
}
