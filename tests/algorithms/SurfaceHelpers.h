// Kept for tests that include the algorithm tests' old surface helpers: they are the shared
// tests/support/Surfaces.h now, in namespace test_support.
#pragma once

#include "tests/support/Surfaces.h"

namespace testing_surfaces = test_support;
