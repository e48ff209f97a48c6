// Screenshot of the pen settings window as it is shown beside a shadow editor.
#include "screenshots/Screenshots.h"
#include "shadow/Unit3.h"

namespace {
TRegisterScreenshot penWindow{"pen", [] {
                                  Form3->Show();
                                  return static_cast<QWidget*>(Form3);
                              }};
} // namespace
