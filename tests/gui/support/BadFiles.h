// Kept for tests that include the unreadable pictures from here: they are the shared
// tests/support/BadFiles.h now, in namespace test_support.
#pragma once

#include "tests/support/BadFiles.h"
#include "tests/support/Files.h"

namespace gui_test {
using namespace test_support;
}
