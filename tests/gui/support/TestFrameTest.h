// The fixture of the toolkit tests that need a frame but not the program: the tests' own frame,
// shown and active, an empty event log and scripted dialogs.
#pragma once

#include "support/ScriptedDialogs.h"
#include "support/TestWindows.h"

#include <gtest/gtest.h>

namespace gui_test {

class TestFrameTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    ScriptedDialogs dialogs;
    TTestFrame* frame = nullptr;
};

} // namespace gui_test
