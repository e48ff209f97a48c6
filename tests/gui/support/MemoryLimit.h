// Kept for tests that include the memory limit from here: it is the shared
// tests/support/MemoryLimit.h now, in namespace test_support.
#pragma once

#include "tests/support/MemoryLimit.h"

namespace gui_test {
using namespace test_support;
}
