// The fish workspace tests' fixture: the program's three start-up windows, pictures written by
// code into the scratch folder, opening a workspace through the Fish Data button with a scripted
// open dialog, the texts the workspace shows, and the soft pen's stamp worked out independently
// of the pen window.
#pragma once

#include "fish/Unit2.h"
#include "fish/Unit4.h"
#include "shadow/Unit6.h"
#include "support/MouseStrokes.h"
#include "support/ProgramWindows.h"

#include <QPoint>
#include <string>

namespace gui_test {

// The workspace's question on closing unsaved work, its overwrite question and its message once
// a sheet is written.
inline constexpr const char* kCreateQuestion = "熱帯魚画像ﾃﾞｰﾀを作成しますか？";
inline constexpr const char* kOverwriteQuestion = "既存のファイルに上書きしてもいいですか？";
inline constexpr const char* kFinished = "画像ファイル作成終了";

// A picture on one background colour with a rectangle of "fish" colour and a second colour
// spot inside it, so the bounding box, the mask and the pick all have something to find.
struct FishPicture {
    FishPicture(int width, int height) : Width(width), Height(height) {}
    FishPicture(int width, int height, TRect fish, QPoint spotAt)
        : Width(width), Height(height), Fish(fish), SpotAt(spotAt) {}
    int Width;
    int Height;
    TColor Background = RGB(0, 0, 200);
    TColor Body = RGB(250, 140, 20);
    TColor Spot = RGB(20, 200, 60);
    TRect Fish; // where the body is
    QPoint SpotAt;
    TBitmap Draw() const;
};

// The main window, as the program-wide global holds it.
TForm* FrameForTests();

// The first child of that class in the frame's child list, or nullptr.
template <class T> T* FindChild() {
    TForm* frame = FrameForTests();
    for (int i = 0; i < frame->MDIChildCount(); ++i) {
        if (auto* found = qobject_cast<T*>(frame->MDIChildren(i))) {
            return found;
        }
    }
    return nullptr;
}

// The grey the default pen's stamp lays at offset (dx, dy) from the pointer: concentric discs
// of grey 255 - 12 (10 - m) for m = 9 down to 4, white outside m = 9, over the 19 x 19 square
// from -9 to +9 (the stamp's centre pixel is the lower-right of its four middle pixels).
int DefaultStampGrey(int dx, int dy);

// `shadow` ANDed with the default pen's stamp at (x, y), clipped to the surface.
void StampDefaultPen(TBitmap& shadow, int x, int y);

// `picture` stretched by `zoom` and ANDed with `shadow`: what a view must show.
TBitmap ViewOf(const TBitmap& picture, int zoom, const TBitmap& shadow);

class FishWorkspaceTest : public ProgramWindowsTest {
  protected:
    void SetUp() override;

    // Writes the picture as a BMP file in the scratch folder and gives its full path.
    std::string WritePicture(const std::string& name, const FishPicture& picture) const;

    // Presses "Fish Data" and chooses `path`; the three windows of the new workspace.
    void OpenWorkspace(const std::string& path);
    TMDIFish* Fish() const { return FindChild<TMDIFish>(); }
    TMDIShadow* Shadow() const { return FindChild<TMDIShadow>(); }
    TMDIAnim* Anim() const { return FindChild<TMDIAnim>(); }

    // The shadow editor brought to the front by the fish window's button, as the user does
    // before painting: the pen window shows beside it and paints its stamp.
    void RaiseEditor();

    // Closes every child as the program would on a Fish Data without questions, and frees them.
    void CloseAllQuietly();
};

} // namespace gui_test
