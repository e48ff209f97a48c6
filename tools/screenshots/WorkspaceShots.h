// What the fish workspace's screenshots share: a workspace opened on a sample picture through the
// Fish Data button, and a still of the main window taken before the workspace is freed again, so
// every later shot starts from an empty frame.
#pragma once

#include <QWidget>
#include <string>

class QMenu;
class TForm;
class TMDIShadow;

// Opens a fish workspace on a sample picture, with the frame enlarged to hold it; false when the
// sample is missing.
bool OpenSampleWorkspace(const std::string& sample);
// The same on a picture anywhere.
bool OpenWorkspaceOn(const std::string& path);

// Lets the windows paint, then gives a still of the main window with `floating` (a top-level
// window such as the pen window, when shown) and then `popup` (an open menu) drawn where they
// stand over it. Frees every child, hides both and gives the frame its size back.
QWidget* StillOfFrameAndFree(TForm* floating = nullptr, QWidget* popup = nullptr);

// Opens the menu of that object name from the frame's menu bar (which shows the active child's
// menus), as a click on its title would; the menu, or nullptr when the bar has none of that name.
QMenu* OpenFrameMenu(const char* name);

// Picks the background, raises the shadow editor as the fish window's button does and paints two
// shadow patterns that differ, so the preview has something to alternate. The editor, or nullptr.
TMDIShadow* PaintSampleShadows();
