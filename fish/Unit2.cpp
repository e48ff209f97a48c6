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
    Load("Unit2");
}

void TMDIAnim::FindComponents() {
    Find(Panel1, "Panel1");
    Find(SpeedButton1, "SpeedButton1");
    Find(SpeedButton2, "SpeedButton2");
    Find(SpeedButton3, "SpeedButton3");
    Find(Timer1, "Timer1");
    Find(MainMenu1, "MainMenu1");
    Find(Save1, "Save1");
    Find(Clase1, "Clase1");
    Find(Main1, "Main1");
    Find(ShadowPattern1, "ShadowPattern1");
    Find(Tile1, "Tile1");
    Find(Cascade1, "Cascade1");
}

void TMDIAnim::FormCreate() {
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
    ComposePreview();
    Timer1->SetInterval(kFrameInterval);
}

void TMDIAnim::ComposePreview() {
    // Without a fish window or shadow editor the sheet keeps the last composition.
    MakeFishData(*SheetBitmap);
    GrowToFit(SheetBitmap->Width() / 2, SheetBitmap->Height() / 2);
    BuildPreviewFrames(*SheetBitmap, *PreviewBitmap);
}

void TMDIAnim::GrowToFit(int frameWidth, int frameHeight) {
    if (ClientWidth() < frameWidth) {
        SetClientWidth(frameWidth);
    }
    const int height = frameHeight + Panel1->height();
    if (ClientHeight() < height) {
        SetClientHeight(height);
    }
    // Shrunk by the user afterwards, the window scrolls over the frame area.
    SetScrollRange(frameWidth, height);
}

void TMDIAnim::FormDeactivate() {
    Timer1->SetInterval(0);
}

void TMDIAnim::Timer1Timer() {
    const int pw = PreviewBitmap->Width();
    const int ph = PreviewBitmap->Height();
    const TRect source = ShowFrame1 ? Rect(0, 0, pw / 2, ph) : Rect(pw / 2, 0, pw, ph);
    // The frame goes to the client surface below the tool bar; the window shows it straight from
    // the preview, in one pass over its pixels at 20 ticks a second.
    ShowOnSurface(*PreviewBitmap, source, 0, Panel1->height());
    ShowFrame1 = !ShowFrame1;
}

// Writes the sheet of the last activation as it stands, composed or still empty.
void TMDIAnim::Save1Click() {
    const std::string name = AskSaveFileName();
    if (name.empty()) {
        return;
    }
    SheetBitmap->SaveToFile(name);
    LastSheetPath = name;
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
    Form1->Tile1Click();
}

void TMDIAnim::Cascade1Click() {
    Form1->Cascade1Click();
}
