// The rotation window's handlers: reading the angle, showing the turned image quadrant, writing
// the up and down sheets, and the question asked on closing.
#include "rotate/Unit8.h"

#include "app/Unit1.h"
#include "app/toolkit/Application.h"
#include "app/toolkit/Dialogs.h"
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
    Bind("FormCreate", &TMDIRotate::FormCreate);
    Bind("FormCloseQuery", &TMDIRotate::FormCloseQuery);
    Bind("FormClose", &TMDIRotate::FormClose);
    Bind("Edit1Change", &TMDIRotate::Edit1Change);
    Bind("Edit1Exit", &TMDIRotate::Edit1Exit);
    Bind("Edit1KeyDown", &TMDIRotate::Edit1KeyDown);
    Bind("BitBtn1Click", &TMDIRotate::BitBtn1Click);
    Bind("Rotate1Click", &TMDIRotate::Rotate1Click);
    Bind("SpeedButton1Click", &TMDIRotate::SpeedButton1Click);
    Bind("Save1Click", &TMDIRotate::Save1Click);
    Bind("Close1Click", &TMDIRotate::Close1Click);
    Bind("Tile1Click", &TMDIRotate::Tile1Click);
    Bind("Cascade1Click", &TMDIRotate::Cascade1Click);
    Load("Unit8");
}

TMDIRotate* OpenRotationWindow(const std::string& path) {
    auto* window = new TMDIRotate();
    window->SetCaption(path);
    return window;
}

void TMDIRotate::FormCreate() {
    // Create runs inside Load, as soon as the definition's components exist.
    Panel1 = Component<TPanel>("Panel1");
    Edit1 = Component<TEdit>("Edit1");
    Image1 = Component<TImage>("Image1");
    Image2 = Component<TImage>("Image2");
    SpeedButton1 = Component<QToolButton>("SpeedButton1");
    BitBtn1 = Component<QPushButton>("BitBtn1");
    MainMenu1 = Component<QMenuBar>("MainMenu1");
    Save1 = Component<QAction>("Save1");
    Close1 = Component<QAction>("Close1");
    Rotate1 = Component<QAction>("Rotate1");
    Tile1 = Component<QAction>("Tile1");
    Cascade1 = Component<QAction>("Cascade1");
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
    SourceBitmap = ReadBmpFile(Caption());
    RotateQuadrant(0);
    // The up copy and the down copy side by side under the panel.
    Image1->move(0, Panel1->height());
    Image2->move(UpBitmap.Width(), Panel1->height());
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
