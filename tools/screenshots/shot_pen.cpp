// Screenshot of the pen settings window as it is shown beside a shadow editor: the default pen's
// stamp in its top-left square above the three sliders.
#include "screenshots/Screenshots.h"
#include "shadow/Unit3.h"
#include "support/GuiTestSupport.h"

namespace {
TRegisterScreenshot penWindow{"pen", [] {
                                  Form3->Show();
                                  // The paint that follows the showing draws the stamp.
                                  gui_test::RunPostedEvents();
                                  return static_cast<QWidget*>(Form3);
                              }};
} // namespace
