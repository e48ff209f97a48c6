// Screenshot of an accessory window on the sample rock with its background colour picked.
#include "accessory/Unit5.h"
#include "app/toolkit/Application.h"
#include "screenshots/Screenshots.h"

namespace {
TRegisterScreenshot accessoryWindow{"accessory", []() -> QWidget* {
                                        const std::string rock =
                                            VELMORA_SAMPLES "/rock-200x150.bmp";
                                        if (!FileExists(rock)) {
                                            return nullptr;
                                        }
                                        TMDIAcc* window = OpenAccessoryWindow(rock);
                                        window->Image2MouseUp(TMouseButton::mbLeft, 2, 2);
                                        return window;
                                    }};
} // namespace
