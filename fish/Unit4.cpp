// The fish window: picking the background colour from the picture, Save, and the workspace's
// menus and buttons.
#include "fish/Unit4.h"

#include "app/Unit1.h"
#include "fish/Unit9.h"
#include "shadow/Unit3.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QToolButton>

TMDIFish::TMDIFish() {
    Bind("FormCreate", &TMDIFish::FormCreate);
    Bind("FormActivate", &TMDIFish::FormActivate);
    Bind("FormClose", &TMDIFish::FormClose);
    Bind("FormDestroy", &TMDIFish::FormDestroy);
    Bind("Image1MouseUp", &TMDIFish::Image1MouseUp);
    Bind("Save1Click", &TMDIFish::Save1Click);
    Bind("SpeedButton1Click", &TMDIFish::SpeedButton1Click);
    Bind("Close1Click", &TMDIFish::Close1Click);
    Bind("ShadowPattern1Click", &TMDIFish::ShadowPattern1Click);
    Bind("SpeedButton2Click", &TMDIFish::SpeedButton2Click);
    Bind("Animation1Click", &TMDIFish::Animation1Click);
    Bind("SpeedButton3Click", &TMDIFish::SpeedButton3Click);
    Bind("Tile1Click", &TMDIFish::Tile1Click);
    Bind("Cascade1Click", &TMDIFish::Cascade1Click);
    Load("Unit4");
}

// Create runs inside Load, so the components are looked up there.
void TMDIFish::FindComponents() {
    Panel1 = Component<TPanel>("Panel1");
    SpeedButton1 = Component<QToolButton>("SpeedButton1");
    SpeedButton2 = Component<QToolButton>("SpeedButton2");
    SpeedButton3 = Component<QToolButton>("SpeedButton3");
    Image2 = Component<TImage>("Image2");
    Label1 = Component<QLabel>("Label1");
    Image1 = Component<TImage>("Image1");
    MainMenu1 = Component<QMenuBar>("MainMenu1");
    Save1 = Component<QAction>("Save1");
    Close1 = Component<QAction>("Close1");
    ShadowPattern1 = Component<QAction>("ShadowPattern1");
    Animation1 = Component<QAction>("Animation1");
    Tile1 = Component<QAction>("Tile1");
    Cascade1 = Component<QAction>("Cascade1");
}

void TMDIFish::FormCreate() {
    FindComponents();
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
    Form1->Tile();
}

void TMDIFish::Cascade1Click() {
    Form1->Cascade();
}
