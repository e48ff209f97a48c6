// The program's start-up windows for tests, benchmarks and tools, and the fixture of every test
// that drives them: the windows created as start-up creates them, scripted dialogs and a scratch
// folder of the test's own.
#pragma once

#include "raster/TBitmap.h"
#include "support/GuiTestSupport.h"
#include "support/ScriptedDialogs.h"
#include "tests/support/ScratchFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace gui_test {

// Creates the main window, the pen window and the About box as start-up does, and shows the main
// window as the active one.
void StartProgramWindows();
// Frees every window and clears the globals that named them.
void EndProgramWindows();

class ProgramWindowsTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The full path of `name` in the scratch folder.
    std::string Path(const std::string& name) const { return folder_.Path(name); }
    const std::filesystem::path& Folder() const { return folder_.Root(); }
    // Writes the surface as a BMP file in the scratch folder and gives its full path.
    std::string Write(const std::string& name, const TBitmap& bitmap) const;

    ScriptedDialogs dialogs;

  private:
    ScratchFolder folder_;
};

} // namespace gui_test
