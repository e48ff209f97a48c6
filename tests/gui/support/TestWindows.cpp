// The tests' own windows: each handler records itself in the event log.
#include "support/TestWindows.h"

#include <QPushButton>
#include <algorithm>

namespace gui_test {

std::vector<std::string>& EventLog() {
    static std::vector<std::string> log;
    return log;
}

long EventCount(const std::string& entry) {
    return std::count(EventLog().begin(), EventLog().end(), entry);
}

TTestFrame::TTestFrame() {
    Load(VELMORA_TEST_FORMS "/TestFrame.ui");
}

TTestChild::TTestChild(std::string name) : Name(std::move(name)) {
    Bind("FormActivate", &TTestChild::FormActivate);
    Bind("FormDeactivate", &TTestChild::FormDeactivate);
    Bind("FormCloseQuery", &TTestChild::FormCloseQuery);
    Bind("FormClose", &TTestChild::FormClose);
    Bind("FormDestroy", &TTestChild::FormDestroy);
    Bind("Button1Click", &TTestChild::Button1Click);
    Bind("Image1MouseDown", &TTestChild::Image1MouseDown);
    Bind("Image1MouseMove", &TTestChild::Image1MouseMove);
    Bind("Image1MouseUp", &TTestChild::Image1MouseUp);
    Bind("Edit1Change", &TTestChild::Edit1Change);
    Bind("Edit1KeyDown", &TTestChild::Edit1KeyDown);
    Bind("Timer1Timer", &TTestChild::Timer1Timer);
    Load(VELMORA_TEST_FORMS "/TestChild.ui");
    Edit1 = Component<TEdit>("Edit1");
    Button1 = Component<QPushButton>("Button1");
    Image1 = Component<TImage>("Image1");
    Timer1 = Component<TTimer>("Timer1");
    SetCaption(Name);
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
    Bind("FormPaint", &TTestWindow::FormPaint);
    Bind("FormShow", &TTestWindow::FormShow);
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
    Bind("FormCreate", &TProbeWindow::FormCreate);
    Bind("FormCloseQuery", &TProbeWindow::FormCloseQuery);
    Bind("Button1Click", &TProbeWindow::Button1Click);
    Load(definition);
}

void TProbeWindow::FormCreate() {
    ++Creates;
}

void TProbeWindow::FormCloseQuery(bool&) {}

void TProbeWindow::Button1Click() {}
} // namespace gui_test
