// The accessory window's handlers: picking the background colour, saving the cropped picture
// and its mask, and the question asked on closing.
#include "accessory/Unit5.h"

#include "accessory/AccessoryCrop.h"
#include "app/Unit1.h"
#include "app/toolkit/Application.h"
#include "app/toolkit/Dialogs.h"
#include "raster/PictureMemory.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QToolButton>

namespace {
// The swatch is read back at this point; it is always of one colour.
constexpr int kSwatchX = 10;
constexpr int kSwatchY = 10;
} // namespace

std::string MaskOverwritePrompt(const std::string& maskName) {
    return "マスクパターンファイル(" + maskName + ")があります。上書きしてもいいですか？";
}

TMDIAcc::TMDIAcc() {
    Bind("FormCreate", &TMDIAcc::FormCreate);
    Bind("FormCloseQuery", &TMDIAcc::FormCloseQuery);
    Bind("FormClose", &TMDIAcc::FormClose);
    Bind("Image2MouseUp", &TMDIAcc::Image2MouseUp);
    Bind("SpeedButton1Click", &TMDIAcc::SpeedButton1Click);
    Bind("Save1Click", &TMDIAcc::Save1Click);
    Bind("Close1Click", &TMDIAcc::Close1Click);
    Bind("Tile1Click", &TMDIAcc::Tile1Click);
    Bind("Cascade1Click", &TMDIAcc::Cascade1Click);
    Load("Unit5");
}

TMDIAcc* OpenAccessoryWindow(const std::string& path) {
    RequireMemoryFor(PictureUse::AccessoryData, path);
    auto* window = new TMDIAcc();
    window->SetCaption(path);
    window->Image2->Picture().LoadFromFile(path);
    return window;
}

void TMDIAcc::FormCreate() {
    // Create runs inside Load, as soon as the definition's components exist.
    Panel1 = Component<TPanel>("Panel1");
    SpeedButton1 = Component<QToolButton>("SpeedButton1");
    Image1 = Component<TImage>("Image1");
    Label1 = Component<QLabel>("Label1");
    Image2 = Component<TImage>("Image2");
    SaveDialog1 = Component<TSaveDialog>("SaveDialog1");
    MainMenu1 = Component<QMenuBar>("MainMenu1");
    Save1 = Component<QAction>("Save1");
    Close1 = Component<QAction>("Close1");
    Tile1 = Component<QAction>("Tile1");
    Cascade1 = Component<QAction>("Cascade1");
    FillSwatch(clBlack);
    Unsaved = true;
}

void TMDIAcc::FormCloseQuery(bool& canClose) {
    canClose = true;
}

void TMDIAcc::FormClose(TCloseAction& action) {
    // A Save abandoned by the user returns and the window closes; a failed write raises before
    // the action is set, so the window stays open with its work.
    if (Unsaved && WarningBox(kAccessoryClosePrompt) == TMsgResult::mrYes) {
        Save();
    }
    action = TCloseAction::caFree;
}

void TMDIAcc::Image2MouseUp(TMouseButton, int x, int y) {
    // The button can be released outside the picture after pressing inside it; there is no
    // colour to pick there.
    const TPicture& picture = Image2->Picture();
    if (x < 0 || y < 0 || x >= picture.Width() || y >= picture.Height()) {
        return;
    }
    Unsaved = true;
    FillSwatch(picture.Bitmap()->Pixel(x, y));
}

void TMDIAcc::SpeedButton1Click() {
    Save();
}

void TMDIAcc::Save1Click() {
    SpeedButton1Click();
}

void TMDIAcc::Close1Click() {
    Close();
}

void TMDIAcc::Tile1Click() {
    Form1->Tile1Click();
}

void TMDIAcc::Cascade1Click() {
    Form1->Cascade1Click();
}

void TMDIAcc::FillSwatch(TColor colour) {
    TCanvas& swatch = Image1->Canvas();
    swatch.Brush.Color = colour;
    swatch.FloodFill(kSwatchX, kSwatchY, colour, TFillStyle::fsBorder);
}

TColor TMDIAcc::Background() {
    return Image1->Canvas().Pixel(kSwatchX, kSwatchY);
}

void TMDIAcc::Save() {
    std::string name = Caption();
    const TColor background = Background();
    // With the swatch left black the opened file itself is the picture file.
    if (background != clBlack) {
        if (!SaveDialog1->Execute()) {
            return;
        }
        if (SaveDialog1->FileName == Caption() &&
            WarningBox(kOverwriteSourcePrompt) == TMsgResult::mrNo) {
            return;
        }
        name = SaveDialog1->FileName;
    }
    const AccessoryNames names = AccessoryFileNames(name);
    if (FileExists(names.Mask) && WarningBox(MaskOverwritePrompt(names.Mask)) == TMsgResult::mrNo) {
        return;
    }
    {
        THourglass hourglass(this);
        const TBitmap* picture = Image2->Picture().Bitmap();
        WriteAccessoryFiles(CropAccessory(picture ? *picture : TBitmap(), background), names);
    }
    Unsaved = false;
    InformationBox(kAccessoryDoneMessage);
}
