// The program's start-up windows and the fixture over them.
#include "support/ProgramWindows.h"

#include "app/Unit1.h"
#include "app/Unit7.h"
#include "app/toolkit/Application.h"
#include "raster/Bmp.h"
#include "shadow/Unit3.h"

#include <QApplication>

namespace gui_test {

void StartProgramWindows() {
    Application->CreateForm(Form1);
    Application->CreateForm(Form3);
    Application->CreateForm(Form7);
    Form1->Show();
    QApplication::setActiveWindow(Form1);
}

void EndProgramWindows() {
    Application->DestroyForms();
    Form1 = nullptr;
    Form3 = nullptr;
    Form7 = nullptr;
}

void ProgramWindowsTest::SetUp() {
    StartProgramWindows();
}

void ProgramWindowsTest::TearDown() {
    dialogs.Verify();
    EndProgramWindows();
}

std::string ProgramWindowsTest::Write(const std::string& name, const TBitmap& bitmap) const {
    WriteBmpFile(bitmap, Path(name));
    return Path(name);
}

} // namespace gui_test
