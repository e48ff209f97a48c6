// The tests' own frame, created through the application object as the program's windows are.
#include "support/TestFrameTest.h"

#include "app/toolkit/Application.h"

#include <QApplication>

namespace gui_test {

void TestFrameTest::SetUp() {
    EventLog().clear();
    Application->CreateForm(frame);
    frame->Show();
    QApplication::setActiveWindow(frame);
}

void TestFrameTest::TearDown() {
    Application->DestroyForms();
}

} // namespace gui_test
