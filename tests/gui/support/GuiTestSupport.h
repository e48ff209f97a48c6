// Helpers shared by the GUI tests: running posted events as the event loop would, reading the
// frame's child list and menu bar back as names, and dropping files on the frame. The toolkit-free
// support is in reach too.
#pragma once

#include "app/toolkit/Form.h"
#include "tests/support/Files.h"
#include "tests/support/Surfaces.h"

#include <string>
#include <vector>

class QMenu;

namespace gui_test {
using namespace test_support;

// One turn of the event loop: posted events (deferred frees among them), then the rest.
void RunPostedEvents();
// The captions of the frame's children in child-list order.
std::vector<std::string> ChildNames(const TForm* frame);
// The titles shown in a window's menu bar (separators as "-").
std::vector<std::string> MenuTitles(const QWidget* bar);
// Drags the files over the frame and drops them there; whether the frame took them.
bool DropOnFrame(TForm* frame, const std::vector<std::string>& paths);
} // namespace gui_test
