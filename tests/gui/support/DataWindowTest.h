// The fixture of the data-file windows' tests: the program's windows, opening a window through a
// tool-bar command, velmora-batch runs, and the pictures those windows open.
#pragma once

#include "raster/TBitmap.h"
#include "raster/TColor.h"
#include "support/ProgramWindows.h"

#include <string>
#include <vector>

class QPushButton;

namespace gui_test {

class DataWindowTest : public ProgramWindowsTest {
  protected:
    // Opens a window through a tool-bar command whose open dialog answers `path`.
    template <class W> W* OpenWith(QPushButton* command, const std::string& path) {
        ClickCommand(command, path);
        return qobject_cast<W*>(ActiveChild());
    }
    // Runs velmora-batch with these arguments; fails the test unless it exits 0.
    void RunBatch(const std::vector<std::string>& arguments) const;

  private:
    void ClickCommand(QPushButton* command, const std::string& path);
    QObject* ActiveChild() const;
};

// A fish data sheet: a fish on blue with a fin on its back only, so that its up and down boxes
// differ, and a grey patch in each shadow.
TBitmap FishSheet(TColor body = RGB(220, 40, 30));

inline constexpr TColor kWater = RGB(0, 128, 255);
inline constexpr TColor kRed = RGB(230, 20, 20);
// An accessory picture: a grey rock with a black crack on `background`, and one red pixel
// (25, 3) apart from it.
TBitmap RockPicture(TColor background = kWater);

} // namespace gui_test
