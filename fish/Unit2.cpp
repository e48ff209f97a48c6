// The animation preview: composing and framing on activation, the frame toggle of the timer, and
// the workspace's buttons and menus.
#include "fish/Unit2.h"

#include "app/Unit1.h"
#include "fish/PreviewFrames.h"
#include "fish/Unit9.h"
#include "shadow/Unit3.h"

#include <QAction>
#include <QMenuBar>
#include <QToolButton>

namespace {
constexpr int kFrameInterval = 50; // milliseconds: 20 frame changes a second
}

TMDIAnim::TMDIAnim() {
    Bind("FormCreate", &TMDIAnim::FormCreate);
    Bind("FormActivate", &TMDIAnim::FormActivate);
    Bind("FormDeactivate", &TMDIAnim::FormDeactivate);
    Bind("FormClose", &TMDIAnim::FormClose);
    Bind("FormDestroy", &TMDIAnim::FormDestroy);
    Bind("Timer1Timer", &TMDIAnim::Timer1Timer);
    Bind("Save1Click", &TMDIAnim::Save1Click);
    Bind("SpeedButton1Click", &TMDIAnim::SpeedButton1Click);
    Bind("Close1Click", &TMDIAnim::Close1Click);
    Bind("Main1Click", &TMDIAnim::Main1Click);
    Bind("SpeedButton2Click", &TMDIAnim::SpeedButton2Click);
    Bind("ShadowPattern1Click", &TMDIAnim::ShadowPattern1Click);
    Bind("SpeedButton3Click", &TMDIAnim::SpeedButton3Click);
    Bind("Tile1Click", &TMDIAnim::Tile1Click);
    Bind("Cascade1Click", &TMDIAnim::Cascade1Click);
    Load("Unit2");
}

// Create runs inside Load, so the components are looked up there.
void TMDIAnim::FindComponents() {
    Panel1 = Component<TPanel>("Panel1");
    SpeedButton1 = Component<QToolButton>("SpeedButton1");
    SpeedButton2 = Component<QToolButton>("SpeedButton2");
    SpeedButton3 = Component<QToolButton>("SpeedButton3");
    Timer1 = Component<TTimer>("Timer1");
    MainMenu1 = Component<QMenuBar>("MainMenu1");
    Save1 = Component<QAction>("Save1");
    Clase1 = Component<QAction>("Clase1");
    Main1 = Component<QAction>("Main1");
    ShadowPattern1 = Component<QAction>("ShadowPattern1");
    Tile1 = Component<QAction>("Tile1");
    Cascade1 = Component<QAction>("Cascade1");
}

void TMDIAnim::FormCreate() {
    FindComponents();
    SheetBitmap = std::make_unique<TBitmap>();
    PreviewBitmap = std::make_unique<TBitmap>();
}

void TMDIAnim::FormDestroy() {
    SheetBitmap.reset();
    PreviewBitmap.reset();
}

void TMDIAnim::FormActivate() {
    // Created first of the three, the preview's first activation finds its workspace incomplete.
    if (Form1->MDIChildCount() < 3) {
        return;
    }
    Form3->Hide();
    // Without a fish window or shadow editor the sheet keeps the last composition.
    MakeFishData(*SheetBitmap);
    GrowToFit(SheetBitmap->Width() / 2, SheetBitmap->Height() / 2);
    BuildPreviewFrames(*SheetBitmap, *PreviewBitmap);
    Timer1->SetInterval(kFrameInterval);
}

void TMDIAnim::GrowToFit(int frameWidth, int frameHeight) {
    if (ClientWidth() < frameWidth) {
        SetClientWidth(frameWidth);
    }
    const int height = frameHeight + Panel1->height();
    if (ClientHeight() < height) {
        SetClientHeight(height);
    }
}

void TMDIAnim::FormDeactivate() {
    Timer1->SetInterval(0);
}

void TMDIAnim::Timer1Timer() {
    const int pw = PreviewBitmap->Width();
    const int ph = PreviewBitmap->Height();
    const TRect source = ShowFrame1 ? Rect(0, 0, pw / 2, ph) : Rect(pw / 2, 0, pw, ph);
    const int p = Panel1->height();
    TCanvas& client = Canvas();
    client.CopyMode = cmSrcCopy;
    client.CopyRect(Rect(0, p, pw / 2, ph + p), PreviewBitmap->Canvas(), source);
    ShowFrame1 = !ShowFrame1;
}

// Writes the sheet of the last activation as it stands, composed or still empty.
void TMDIAnim::Save1Click() {
    const std::string name = AskSaveFileName();
    if (name.empty()) {
        return;
    }
    SheetBitmap->SaveToFile(name);
    AnnounceDataSaved();
}

void TMDIAnim::SpeedButton1Click() {
    Save1Click();
}

void TMDIAnim::FormClose(TCloseAction& action) {
    CloseFishWorkspace();
    action = TCloseAction::caFree;
}

void TMDIAnim::Close1Click() {
    CloseFishWorkspace();
}

void TMDIAnim::Main1Click() {
    ShowFishWindow();
}

void TMDIAnim::SpeedButton2Click() {
    Main1Click();
}

void TMDIAnim::ShadowPattern1Click() {
    ShowShadowEditor();
}

void TMDIAnim::SpeedButton3Click() {
    ShadowPattern1Click();
}

void TMDIAnim::Tile1Click() {
    Form1->Tile();
}

void TMDIAnim::Cascade1Click() {
    Form1->Cascade();
}
