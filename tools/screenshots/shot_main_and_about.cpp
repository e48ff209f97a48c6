// Screenshots of the main window (empty frame, tool bar and menu) and of the About box.
#include "app/Unit1.h"
#include "app/Unit7.h"
#include "screenshots/Screenshots.h"

namespace {
TRegisterScreenshot mainWindow{"main", [] {
                                   Form1->Show();
                                   return static_cast<QWidget*>(Form1);
                               }};

TRegisterScreenshot aboutBox{"about", [] {
                                 Form1->Version1->trigger();
                                 return static_cast<QWidget*>(Form7);
                             }};
} // namespace
