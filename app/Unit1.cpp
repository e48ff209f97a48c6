// The main window's commands: the work commands, the two exits, window arrangement, the About box.
#include "app/Unit1.h"

#include "accessory/Unit5.h"
#include "app/Unit7.h"
#include "app/toolkit/Application.h"
#include "fish/Unit2.h"
#include "fish/Unit4.h"
#include "fish/Unit9.h"
#include "raster/PictureMemory.h"
#include "rotate/Unit8.h"
#include "shadow/Unit3.h"
#include "shadow/Unit6.h"

#include <QAction>
#include <QMenuBar>
#include <QPushButton>

TForm1* Form1 = nullptr;

TForm1::TForm1() {
    Bind("BitBtn2Click", &TForm1::BitBtn2Click);
    Bind("FishData1Click", &TForm1::FishData1Click);
    Bind("BitBtn3Click", &TForm1::BitBtn3Click);
    Bind("RotationData1Click", &TForm1::RotationData1Click);
    Bind("BitBtn1Click", &TForm1::BitBtn1Click);
    Bind("AccessoryData1Click", &TForm1::AccessoryData1Click);
    Bind("BitBtn4Click", &TForm1::BitBtn4Click);
    Bind("Exit1Click", &TForm1::Exit1Click);
    Bind("Tile1Click", &TForm1::Tile1Click);
    Bind("Cascade1Click", &TForm1::Cascade1Click);
    Bind("Version1Click", &TForm1::Version1Click);
    Load("Unit1");
    Panel1 = Component<TPanel>("Panel1");
    BitBtn2 = Component<QPushButton>("BitBtn2");
    BitBtn3 = Component<QPushButton>("BitBtn3");
    BitBtn1 = Component<QPushButton>("BitBtn1");
    BitBtn4 = Component<QPushButton>("BitBtn4");
    MainMenu1 = Component<QMenuBar>("MainMenu1");
    FishData1 = Component<QAction>("FishData1");
    RotationData1 = Component<QAction>("RotationData1");
    AccessoryData1 = Component<QAction>("AccessoryData1");
    Exit1 = Component<QAction>("Exit1");
    Tile1 = Component<QAction>("Tile1");
    Cascade1 = Component<QAction>("Cascade1");
    Version1 = Component<QAction>("Version1");
    OpenDialog1 = Component<TOpenDialog>("OpenDialog1");
    SaveDialog1 = Component<TSaveDialog>("SaveDialog1");
}

// Fish Data: every child closed (the old workspace asking about its sheet), then a new workspace
// on the chosen picture. Each new window becomes the active child, so the fish window ends in
// front and its activation hides the pen settings window again.
void TForm1::BitBtn2Click() {
    if (!OpenDialog1->Execute()) {
        return;
    }
    const std::string name = OpenDialog1->FileName;
    if (!FileExists(name)) {
        return;
    }
    // A picture too large for the memory is refused while the old workspace is still whole.
    RequireMemoryFor(PictureUse::FishWorkspace, name);
    // A question in one close runs a nested loop that can free windows closed earlier: each
    // position is read anew and positions past the end are passed over.
    for (int i = MDIChildCount() - 1; i >= 0; --i) {
        if (i < MDIChildCount()) {
            MDIChildren(i)->Close();
        }
    }
    DataSaved = false;
    WorkspaceClosing = false;

    auto* anim = new TMDIAnim();
    anim->SetCaption(name);

    auto* shadow = new TMDIShadow();
    shadow->SetCaption(name);
    shadow->OpenPicture();

    auto* fish = new TMDIFish();
    fish->SetCaption(name);
    fish->Image1->Picture().LoadFromFile(name);
}

void TForm1::FishData1Click() {
    BitBtn2Click();
}

void TForm1::BitBtn3Click() {
    // The pen settings window keeps its visibility: a rotation window has nothing to paint.
    if (!OpenDialog1->Execute() || !FileExists(OpenDialog1->FileName)) {
        return;
    }
    OpenRotationWindow(OpenDialog1->FileName);
}

void TForm1::RotationData1Click() {
    BitBtn3Click();
}

void TForm1::BitBtn1Click() {
    if (!OpenDialog1->Execute()) {
        Form3->Hide();
        return;
    }
    if (!FileExists(OpenDialog1->FileName)) {
        return;
    }
    OpenAccessoryWindow(OpenDialog1->FileName);
    Form3->Hide();
}

void TForm1::AccessoryData1Click() {
    BitBtn1Click();
}

void TForm1::BitBtn4Click() {
    // A question asked by one close runs a nested loop that can free windows closed earlier, so
    // each position is read anew and positions past the end are passed over.
    for (int i = MDIChildCount() - 1; i >= 0; --i) {
        if (i >= MDIChildCount()) {
            continue;
        }
        TForm* child = MDIChildren(i);
        if (!child->Is("TMDIFish") && !child->Is("TMDIShadow")) {
            child->Close();
        }
    }
    Application->Terminate();
}

void TForm1::Exit1Click() {
    Application->Terminate();
}

void TForm1::Tile1Click() {
    Tile();
}

void TForm1::Cascade1Click() {
    Cascade();
}

void TForm1::Version1Click() {
    Form7->BringToFront();
}
