// The GUI tests' main: one offscreen QApplication and the application object for every test.
#include "app/toolkit/Application.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Test discovery runs this too, without the test environment.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    // Whatever these windows keep for recovery goes to a folder of this run, never the user's.
    const QTemporaryDir state;
    qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
    TApplication application;
    Application->SetTitle("VELMORA.exe");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
