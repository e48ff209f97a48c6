// Kept for tests that include the algorithm tests' old surface helpers: they are the shared
// tests/support/Surfaces.h now (namespace test_support), and a surface of one colour is
// TBitmap(width, height, colour).
#pragma once

#include "tests/support/Surfaces.h"

namespace test_support {
inline TBitmap Filled(int width, int height, TColor colour) {
    return TBitmap(width, height, colour);
}
} // namespace test_support

namespace testing_surfaces = test_support;
