// Screenshot of a rotation window showing a sample fish's sheet turned by 30 degrees.
#include "app/toolkit/Application.h"
#include "fish/SheetComposer.h"
#include "raster/Bmp.h"
#include "rotate/Unit8.h"
#include "screenshots/Screenshots.h"
#include "tests/support/ScratchFolder.h"

namespace {
// The sheet a user would have saved for the sample: its fish with a soft shadow in each pattern.
std::string SampleSheet(const std::string& fishPath, const test_support::ScratchFolder& folder) {
    const TBitmap fish = ReadBmpFile(fishPath);
    TBitmap shadow1(fish.Width(), fish.Height());
    TBitmap shadow2(fish.Width(), fish.Height());
    shadow1.Canvas().Brush.Color = RGB(150, 150, 150);
    shadow1.Canvas().Ellipse(fish.Width() / 4, fish.Height() / 2, fish.Width() * 3 / 4,
                             fish.Height() * 4 / 5);
    shadow2.Canvas().Brush.Color = RGB(110, 110, 110);
    shadow2.Canvas().Ellipse(fish.Width() / 5, fish.Height() / 3, fish.Width() * 3 / 5,
                             fish.Height() * 3 / 4);
    TBitmap sheet;
    ComposeFishSheet(fish, fish.Pixel(0, 0), shadow1, shadow2, 1, sheet);
    const std::string path = folder.Path("clownfish.bmp");
    WriteBmpFile(sheet, path);
    return path;
}

TRegisterScreenshot rotationWindow{"rotate", []() -> QWidget* {
                                       static test_support::ScratchFolder folder;
                                       const std::string fish =
                                           VELMORA_SAMPLES "/clownfish-120x80.bmp";
                                       if (!FileExists(fish)) {
                                           return nullptr;
                                       }
                                       TMDIRotate* window =
                                           OpenRotationWindow(SampleSheet(fish, folder));
                                       int enter = 13;
                                       window->Edit1KeyDown(enter);
                                       return window;
                                   }};
} // namespace
