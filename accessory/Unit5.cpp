// The accessory window's handlers: picking the background colour, saving the cropped picture
// and its mask, and the question asked on closing.
#include "accessory/Unit5.h"

#include "accessory/AccessoryCrop.h"
#include "app/Unit1.h"
#include "app/toolkit/Application.h"
#include "app/toolkit/Dialogs.h"
#include "app/toolkit/FileWatch.h"
#include "raster/PictureFile.h"
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

TMDIAcc::TMDIAcc() {
    Load("Unit5");
}

void TMDIAcc::FindComponents() {
    Find(Panel1, "Panel1");
    Find(SpeedButton1, "SpeedButton1");
    Find(Image1, "Image1");
    Find(Label1, "Label1");
    Find(Image2, "Image2");
    Find(SaveDialog1, "SaveDialog1");
    Find(MainMenu1, "MainMenu1");
    Find(Save1, "Save1");
    Find(Close1, "Close1");
    Find(ReloadPicture1, "ReloadPicture1");
    Find(Tile1, "Tile1");
    Find(Cascade1, "Cascade1");
}

TMDIAcc* OpenAccessoryWindow(const std::string& path) {
    RequireMemoryFor(PictureUse::AccessoryData, path);
    auto* window = new TMDIAcc();
    window->SetCaption(path);
    // Watched from before the read, so that no change escapes between the two.
    window->PictureWatch = new TFileWatch(window, path, [window] { window->ReloadPicture(); });
    window->OpenPicture(path);
    return window;
}

void TMDIAcc::OpenPicture(const std::string& path) {
    Image2->Picture().LoadFromFile(path);
    if (const auto key = Image2->Picture().TransparentKey()) {
        Unsaved = true;
        FillSwatch(*key);
    }
}

void TMDIAcc::FormCreate() {
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

void TMDIAcc::ReloadPicture() {
    if (PictureWatch) {
        PictureWatch->Rebase();
    }
    RequireMemoryFor(PictureUse::AccessoryData, Caption());
    // On failure the picture shown stays.
    Image2->Picture().LoadFromFile(Caption());
    Unsaved = true;
}

void TMDIAcc::ReloadPicture1Click() {
    ReloadPicture();
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
    // A PNG picture's own name gives a BMP file beside it, which may hold another picture.
    if (background == clBlack && IsPngName(Caption()) && FileExists(names.Picture) &&
        WarningBox(kOverwriteExistingPrompt) == TMsgResult::mrNo) {
        return;
    }
    if (FileExists(names.Mask) && WarningBox(MaskOverwritePrompt(names.Mask)) == TMsgResult::mrNo) {
        return;
    }
    {
        THourglass hourglass(this);
        const TBitmap* picture = Image2->Picture().Bitmap();
        WriteAccessoryFiles(CropAccessory(picture ? *picture : TBitmap(), background), names);
    }
    // With the swatch black the picture file is the opened one: a write of the window's own is
    // no change for it to follow.
    if (PictureWatch) {
        PictureWatch->Rebase();
    }
    Unsaved = false;
    InformationBox(kImageFileDoneMessage);
}
