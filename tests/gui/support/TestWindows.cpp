// The tests' own windows: each handler records itself in the event log.
#include "support/TestWindows.h"

#include <QPushButton>

namespace gui_test {

std::vector<std::string>& EventLog() {
    static std::vector<std::string> log;
    return log;
}

TTestFrame::TTestFrame() {
    Load(VELMORA_TEST_FORMS "/TestFrame.ui");
}

TTestChild::TTestChild(std::string name) : Name(std::move(name)) {
    Load(VELMORA_TEST_FORMS "/TestChild.ui");
    SetCaption(Name);
}

void TTestChild::FindComponents() {
    Find(Edit1, "Edit1");
    Find(Button1, "Button1");
    Find(Image1, "Image1");
    Find(Timer1, "Timer1");
}

void TTestChild::Record(const char* event) {
    EventLog().push_back(Name + ":" + event);
}

void TTestChild::FormActivate() {
    Record("Activate");
}

void TTestChild::FormDeactivate() {
    Record("Deactivate");
}

void TTestChild::FormCloseQuery(bool& canClose) {
    Record("CloseQuery");
    canClose = AllowClose;
}

void TTestChild::FormClose(TCloseAction& action) {
    Record("Close");
    if (OnClosing) {
        OnClosing();
    }
    if (Action) {
        action = *Action;
    }
}

void TTestChild::FormDestroy() {
    Record("Destroy");
}

void TTestChild::Button1Click() {
    Record("Button1Click");
    if (OnButton) {
        OnButton();
    }
}

void TTestChild::Image1MouseDown(TMouseButton button, int x, int y) {
    Mouse.push_back("Down " + std::to_string(static_cast<int>(button)) + " " + std::to_string(x) +
                    " " + std::to_string(y));
}

void TTestChild::Image1MouseMove(TMouseButton button, int x, int y) {
    Mouse.push_back("Move " + std::to_string(static_cast<int>(button)) + " " + std::to_string(x) +
                    " " + std::to_string(y));
}

void TTestChild::Image1MouseUp(TMouseButton button, int x, int y) {
    Mouse.push_back("Up " + std::to_string(static_cast<int>(button)) + " " + std::to_string(x) +
                    " " + std::to_string(y));
}

void TTestChild::Edit1Change() {
    ++Changes;
}

void TTestChild::Edit1KeyDown(int& key) {
    Keys.push_back(key);
    if (key == 13) {
        key = 0;
    }
}

void TTestChild::Timer1Timer() {
    ++Ticks;
}

TTestWindow::TTestWindow() {
    Load(VELMORA_TEST_FORMS "/TestWindow.ui");
}

void TTestWindow::FormPaint() {
    ++Paints;
}

void TTestWindow::FormShow() {
    ++Shows;
}

} // namespace gui_test

namespace gui_test {
TProbeWindow::TProbeWindow(const QString& definition) {
    Load(definition);
}

void TProbeWindow::FormCreate() {
    ++Creates;
}

void TProbeWindow::FormCloseQuery(bool&) {}

void TProbeWindow::Button1Click() {}
} // namespace gui_test
