// The fish window: picking the background colour from the picture, Save, and the workspace's
// menus and buttons.
#include "fish/Unit4.h"

#include "app/Unit1.h"
#include "app/WorkspaceRecovery.h"
#include "fish/Unit9.h"
#include "shadow/Unit3.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QToolButton>

TMDIFish::TMDIFish() {
    Load("Unit4");
}

void TMDIFish::FindComponents() {
    Find(Panel1, "Panel1");
    Find(SpeedButton1, "SpeedButton1");
    Find(SpeedButton2, "SpeedButton2");
    Find(SpeedButton3, "SpeedButton3");
    Find(Image2, "Image2");
    Find(Label1, "Label1");
    Find(Image1, "Image1");
    Find(MainMenu1, "MainMenu1");
    Find(Save1, "Save1");
    Find(Close1, "Close1");
    Find(ReloadPicture1, "ReloadPicture1");
    Find(ShadowPattern1, "ShadowPattern1");
    Find(Animation1, "Animation1");
    Find(Tile1, "Tile1");
    Find(Cascade1, "Cascade1");
}

void TMDIFish::OpenPicture(const std::string& path) {
    Image1->Picture().LoadFromFile(path);
    if (const auto key = Image1->Picture().TransparentKey()) {
        FillSwatch(*key);
    }
}

void TMDIFish::FormCreate() {
    // A new fish window's background colour is black.
    FillSwatch(clBlack);
}

// The swatch is one colour throughout, so a border fill from inside it recolours all of it.
void TMDIFish::FillSwatch(TColor colour) {
    TCanvas& swatch = Image2->Canvas();
    swatch.Brush.Color = colour;
    swatch.FloodFill(10, 10, swatch.Brush.Color, TFillStyle::fsBorder);
}

void TMDIFish::Image1MouseUp(TMouseButton, int x, int y) {
    // A button pressed over the picture and released beyond it reports a position outside the
    // picture; there is no colour there to take, so the swatch stays as it was.
    const TPicture& picture = Image1->Picture();
    if (x < 0 || y < 0 || x >= picture.Width() || y >= picture.Height()) {
        return;
    }
    FillSwatch(Image1->Canvas().Pixel(x, y));
    ScheduleRecoveryWrite();
}

void TMDIFish::FormActivate() {
    Form3->Hide();
}

void TMDIFish::FormClose(TCloseAction& action) {
    CloseFishWorkspace();
    action = TCloseAction::caFree;
}

void TMDIFish::FormDestroy() {}

void TMDIFish::Save1Click() {
    SaveFishData();
}

void TMDIFish::SpeedButton1Click() {
    Save1Click();
}

void TMDIFish::Close1Click() {
    CloseFishWorkspace();
}

void TMDIFish::ReloadPicture1Click() {
    ReloadFishWorkspace();
}

void TMDIFish::ShadowPattern1Click() {
    ShowShadowEditor();
}

void TMDIFish::SpeedButton2Click() {
    ShadowPattern1Click();
}

void TMDIFish::Animation1Click() {
    ShowAnimWindow();
}

void TMDIFish::SpeedButton3Click() {
    Animation1Click();
}

void TMDIFish::Tile1Click() {
    Form1->Tile1Click();
}

void TMDIFish::Cascade1Click() {
    Form1->Cascade1Click();
}
