// Kept for tests that include the file-system faults from here: they are the shared
// tests/support/FileFaults.h now, in namespace test_support.
#pragma once

#include "tests/support/FileFaults.h"

namespace gui_test {
using namespace test_support;
}
