// The fish workspace's flags, save prompt, close, raise routines and the gathering of the sheet's
// inputs from the open windows.
#include "fish/Unit9.h"

#include "app/Messages.h"
#include "app/Unit1.h"
#include "app/WorkspaceRecovery.h"
#include "app/toolkit/Application.h"
#include "app/toolkit/Dialogs.h"
#include "app/toolkit/FileWatch.h"
#include "fish/RecoveryEntry.h"
#include "fish/SheetComposer.h"
#include "fish/Unit2.h"
#include "fish/Unit4.h"
#include "raster/PictureMemory.h"
#include "raster/TPicture.h"
#include "shadow/ShadowsInPlace.h"
#include "shadow/Unit3.h"
#include "shadow/Unit6.h"

bool DataSaved = false;
std::string LastSheetPath;
bool WorkspaceClosing = false;

namespace {

bool IsWorkspaceWindow(TForm* child) {
    return child->Is<TMDIFish>() || child->Is<TMDIShadow>() || child->Is<TMDIAnim>();
}

// Raising a child moves it to the front of the child list; the children before it each move one
// place back, so the walk still reaches every later position once.
template <class T> void RaiseEvery() {
    for (int i = 0; i < Form1->MDIChildCount(); ++i) {
        if (TForm* child = Form1->MDIChildren(i); child->Is<T>()) {
            child->BringToFront();
        }
    }
}

} // namespace

namespace {

// When several windows of one kind are open, the sheet uses the last in the child order: the one
// focused least recently.
template <class T> T* LastInChildOrder() {
    T* found = nullptr;
    for (int i = 0; i < Form1->MDIChildCount(); ++i) {
        if (auto* child = qobject_cast<T*>(Form1->MDIChildren(i))) {
            found = child;
        }
    }
    return found;
}

// The colour the fish is told from: the background swatch's pixel (5, 5).
TColor BackgroundOf(TMDIFish* fish) {
    return fish->Image2->Canvas().Pixel(5, 5);
}

} // namespace

std::string AskSaveFileName() {
    TSaveDialog* dialog = Form1->SaveDialog1;
    dialog->FileName.clear();
    if (!dialog->Execute()) {
        return "";
    }
    const std::string name = dialog->FileName;
    if (FileExists(name) && WarningBox(kOverwriteExistingPrompt) == TMsgResult::mrNo) {
        return "";
    }
    return name;
}

void CloseFishWorkspace() {
    if (WorkspaceClosing) {
        return;
    }
    if (!DataSaved && WarningBox(kFishClosePrompt) == TMsgResult::mrYes) {
        const std::string name = AskSaveFileName();
        if (!name.empty()) {
            WriteFishData(name);
        }
    }
    // Set before any window closes: each of these closes comes back here through its handler.
    WorkspaceClosing = true;
    DropRecoveryCopy();
    Form1->CloseChildren(IsWorkspaceWindow);
}

namespace {

// The Fish Data command's steps after the Open dialog; the picture comes from the file, or from
// memory when `kept` is given.
void OpenWorkspaceWindows(const std::string& path, const TBitmap* kept) {
    Form1->CloseChildren([](TForm*) { return true; });
    DataSaved = false;
    WorkspaceClosing = false;
    LastSheetPath.clear();

    auto* anim = new TMDIAnim();
    anim->SetCaption(path);

    auto* shadow = new TMDIShadow();
    shadow->SetCaption(path);
    if (kept) {
        shadow->OpenPicture(*kept);
    } else {
        shadow->OpenPicture();
    }

    auto* fish = new TMDIFish();
    fish->SetCaption(path);
    // Watched from before the read, so that no change escapes between the two.
    fish->PictureWatch = new TFileWatch(fish, path, ReloadFishWorkspace);
    if (kept) {
        fish->Image1->Picture().Assign(*kept);
    } else {
        fish->OpenPicture(path);
    }
}

} // namespace

void OpenFishWorkspace(const std::string& path) {
    // A picture too large for the memory is refused while the old workspace is still whole.
    RequireMemoryFor(PictureUse::FishWorkspace, path);
    OpenWorkspaceWindows(path, nullptr);
}

void ReopenFishWorkspace(const RecoverySnapshot& snapshot) {
    OpenWorkspaceWindows(snapshot.FileName, &snapshot.Picture);
    TMDIFish* fish = LastInChildOrder<TMDIFish>();
    TMDIShadow* shadow = LastInChildOrder<TMDIShadow>();
    fish->FillSwatch(snapshot.Background);
    shadow->RestoreShadows(snapshot.Shadow1, snapshot.Shadow2);
}

void ShowShadowEditor() {
    RaiseEvery<TMDIShadow>();
    Form3->Show();
}

void ShowFishWindow() {
    RaiseEvery<TMDIFish>();
}

void ShowAnimWindow() {
    RaiseEvery<TMDIAnim>();
}

bool MakeFishData(TBitmap& sheet) {
    TMDIFish* fish = LastInChildOrder<TMDIFish>();
    TMDIShadow* shadow = LastInChildOrder<TMDIShadow>();
    if (!fish || !shadow) {
        return false;
    }
    // A fish window whose picture failed to load has no fish to compose; reading its empty
    // control would make up a white picture of the control's design size.
    const TBitmap* picture = fish->Image1->Picture().Bitmap();
    if (!picture) {
        return false;
    }
    ComposeFishSheet(*picture, BackgroundOf(fish), shadow->Image3->Canvas().Surface(),
                     shadow->Image4->Canvas().Surface(), shadow->Zoomed ? 2 : 1, sheet);
    return true;
}

FishBoundingBox SheetFishBox() {
    TMDIFish* fish = LastInChildOrder<TMDIFish>();
    const TBitmap* picture = fish ? fish->Image1->Picture().Bitmap() : nullptr;
    if (!picture) {
        return FishBoundingBox{};
    }
    return FindFishBox(*picture, BackgroundOf(fish));
}

void ReloadFishWorkspace() {
    TMDIFish* fish = LastInChildOrder<TMDIFish>();
    TMDIShadow* shadow = LastInChildOrder<TMDIShadow>();
    // A change noticed while a question of the closing workspace is open finds it going.
    if (WorkspaceClosing || !fish || !shadow || !shadow->PictureBitmap) {
        return;
    }
    const std::string path = fish->Caption();
    if (fish->PictureWatch) {
        fish->PictureWatch->Rebase();
    }
    RequireMemoryFor(PictureUse::FishWorkspace, path);
    TPicture read;
    read.LoadFromFile(path);
    const TBitmap& picture = *read.Bitmap();
    shadow->ReplacePicture(picture, BackgroundOf(fish));
    fish->Image1->Picture().Assign(picture);
    // The sheet on disk, if any, no longer matches the picture.
    DataSaved = false;
    if (TMDIAnim* anim = LastInChildOrder<TMDIAnim>()) {
        anim->ComposePreview();
    }
    ScheduleRecoveryWrite();
}

bool SheetBackgroundOnBorder() {
    TMDIFish* fish = LastInChildOrder<TMDIFish>();
    const TBitmap* picture = fish ? fish->Image1->Picture().Bitmap() : nullptr;
    return !picture || ColourOnBorder(*picture, BackgroundOf(fish));
}

bool WriteFishData(const std::string& name) {
    TBitmap sheet;
    if (!MakeFishData(sheet)) {
        return false;
    }
    sheet.SaveToFile(name);
    LastSheetPath = name;
    return true;
}

void SaveFishData() {
    const std::string name = AskSaveFileName();
    if (name.empty()) {
        return;
    }
    if (WriteFishData(name)) {
        AnnounceDataSaved();
    }
}

void AnnounceDataSaved() {
    DataSaved = true;
    ScheduleRecoveryWrite();
    InformationBox(kImageFileDoneMessage);
}

bool TakeRecoverySnapshot(RecoverySnapshot& snapshot) {
    if (!Form1) {
        return false; // the program's windows are already gone
    }
    TMDIFish* fish = LastInChildOrder<TMDIFish>();
    TMDIShadow* shadow = LastInChildOrder<TMDIShadow>();
    const TBitmap* picture = fish ? fish->Image1->Picture().Bitmap() : nullptr;
    if (WorkspaceClosing || !picture || !shadow) {
        return false;
    }
    snapshot.FileName = fish->Caption();
    snapshot.Picture = *picture;
    snapshot.Background = BackgroundOf(fish);
    snapshot.Zoom = shadow->Zoomed ? 2 : 1;
    snapshot.Shadow1 = shadow->Image3->Canvas().Surface();
    snapshot.Shadow2 = shadow->Image4->Canvas().Surface();
    snapshot.Saved = DataSaved;
    return true;
}
