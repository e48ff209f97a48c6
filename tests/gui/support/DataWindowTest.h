// The fixture of the data-file windows' tests: the program's windows created as start-up
// creates them, a scratch folder, scripted dialogs, file bytes and velmora-batch runs.
#pragma once

#include "raster/TBitmap.h"
#include "support/ScriptedDialogs.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <string>
#include <vector>

class QPushButton;

namespace gui_test {

class DataWindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // A path in the scratch folder.
    std::string Path(const std::string& name) const;
    std::string Write(const std::string& name, const TBitmap& bitmap) const;
    // Opens a window through a tool-bar command whose open dialog answers `path`.
    template <class W> W* OpenWith(QPushButton* command, const std::string& path) {
        ClickCommand(command, path);
        return qobject_cast<W*>(ActiveChild());
    }
    // Runs velmora-batch with these arguments; fails the test unless it exits 0.
    void RunBatch(const std::vector<std::string>& arguments) const;

    ScriptedDialogs dialogs;

  private:
    void ClickCommand(QPushButton* command, const std::string& path);
    QObject* ActiveChild() const;
    QTemporaryDir folder_;
};

// The whole file, or an empty vector when there is none.
std::vector<char> FileBytes(const std::string& path);
bool Exists(const std::string& path);

} // namespace gui_test
