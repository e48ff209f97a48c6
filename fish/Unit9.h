// The fish workspace's shared state and routines: the two program-wide flags, the save-name
// prompt, closing the whole workspace, raising one kind of its windows, and MakeFishData, which
// gathers the sheet's inputs from the open windows for the composer.
#pragma once

#include "fish/SheetComposer.h"
#include "raster/TBitmap.h"

#include <string>

// The workspace's data has been written since the last paint step.
extern bool DataSaved;
// The workspace is being (or has been) closed: further closes must not ask again.
extern bool WorkspaceClosing;
// The sheet written or read last in this workspace (empty before the first): where Load Shadows
// in Place looks first.
extern std::string LastSheetPath;

// The name to write the sheet to, from the frame's save dialog; an existing file is only taken
// after the overwrite question. Empty when nothing is to be written.
std::string AskSaveFileName();

// Offers to write the sheet unless it was saved, then closes all three workspace windows. Every
// workspace window's close comes here; the flag makes the closes it starts itself return at once.
void CloseFishWorkspace();

// The Fish Data command after its Open dialog: every child window closed (the old workspace
// offering to write its sheet), the flags cleared, then the animation preview, the shadow editor
// and the fish window opened on the picture at `path`, in that order. Each becomes the active
// child as it opens, so the fish window ends in front.
void OpenFishWorkspace(const std::string& path);

struct RecoverySnapshot;
// Opens the workspace of a recovery copy as the Fish Data command opens one, on the kept picture
// under its file name, then puts back the background colour and both shadows (views rebuilt
// over them). The data counts as not saved.
void ReopenFishWorkspace(const RecoverySnapshot& snapshot);

// What the recovery copy keeps of the open workspace; false when there is none to keep (a window
// missing, no picture, or the workspace closing).
bool TakeRecoverySnapshot(RecoverySnapshot& snapshot);

// The workspace's picture read again from its file (the fish window's caption) with the Fish
// Data command's loader, after a change on disk or by Reload Picture, and shown in the fish window
// and the shadow editor: the background colour stays, the shadows are kept (TMDIShadow::
// ReplacePicture), DataSaved is cleared and an open animation preview composes afresh. A file that
// cannot be read raises before anything changes. Nothing happens without a fish window and a
// shadow editor, or once the workspace is closing.
void ReloadFishWorkspace();

// Raise every window of that kind; the shadow editor also brings the pen settings window back.
void ShowShadowEditor();
void ShowFishWindow();
void ShowAnimWindow();

// Composes the fish data sheet from the fish window and the shadow editor found in the frame's
// child list. False, with `sheet` untouched, when either is missing (or the fish window holds no
// picture).
bool MakeFishData(TBitmap& sheet);

// The fish's bounding box the next sheet is composed around: in the picture of the fish window
// MakeFishData uses, against its background colour. Not found when there is no such window or it
// holds no picture.
FishBoundingBox SheetFishBox();
// Whether the background colour that box is found against appears on the picture's border (true
// when there is no fish window or picture to look at).
bool SheetBackgroundOnBorder();

// Composes the sheet and writes it to `name`; false when there was nothing to compose.
bool WriteFishData(const std::string& name);

// The Save command of the fish window and the shadow editor: name, compose, write, announce.
void SaveFishData();

// What every successful save does after writing: marks the data saved and says so.
void AnnounceDataSaved();
