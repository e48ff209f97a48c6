// The program as its start-up makes it, driven by a script of steps from the command line, for
// the tests that kill it: real mouse events on the real windows, every dialog answered by the
// script and every question printed on standard output as "question: <text>".
//
// Steps, run in order once the event loop is up:
//   open=PATH      Fish Data on PATH
//   pick=X,Y       a click on the fish picture at (X, Y): the background colour
//   stroke1, stroke2   a stroke of the soft pen over view 1 or view 2
//   rest=MS        the event loop runs for MS milliseconds
//   save=PATH      the shadow editor's Save to PATH
//   mark=PATH      an empty file at PATH: the steps so far are done
//   answer=yes|no  the answer to every question from then on (yes before the first step)
//   exit=menu|toolbar   the frame's menu Exit or tool-bar Exit; without it the program runs on
#include "app/Unit1.h"
#include "app/Unit7.h"
#include "app/WorkspaceRecovery.h"
#include "app/toolkit/Application.h"
#include "app/toolkit/Dialogs.h"
#include "fish/Unit4.h"
#include "shadow/Unit3.h"
#include "shadow/Unit6.h"
#include "support/MouseStrokes.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

class ScriptDialogs : public IDialogs {
  public:
    std::string OpenName;
    std::string SaveName;
    bool Yes = true;

    std::optional<std::string> ExecuteOpen(const TOpenDialog&) override { return OpenName; }
    std::optional<std::string> ExecuteSave(const TSaveDialog&) override { return SaveName; }
    TMsgResult Warning(const std::string& text) override {
        std::cout << "question: " << text << std::endl;
        return Yes ? TMsgResult::mrYes : TMsgResult::mrNo;
    }
    void Information(const std::string& text) override {
        std::cout << "information: " << text << std::endl;
    }
    void Error(const std::string& text) override { std::cout << "error: " << text << std::endl; }
    std::optional<int> PopupMenu(const std::vector<std::string>&) override { return std::nullopt; }
};

template <class T> T* Child() {
    for (int i = 0; i < Form1->MDIChildCount(); ++i) {
        if (auto* found = qobject_cast<T*>(Form1->MDIChildren(i))) {
            return found;
        }
    }
    throw std::runtime_error("no such window");
}

void Run(const std::string& step, ScriptDialogs& dialogs) {
    const std::size_t equals = step.find('=');
    const std::string name = step.substr(0, equals);
    const std::string value = equals == std::string::npos ? "" : step.substr(equals + 1);
    if (name == "open") {
        dialogs.OpenName = value;
        QTest::mouseClick(Form1->BitBtn2, Qt::LeftButton);
    } else if (name == "pick") {
        const std::size_t comma = value.find(',');
        gui_test::Click(Child<TMDIFish>()->Image1, QPoint(std::stoi(value.substr(0, comma)),
                                                          std::stoi(value.substr(comma + 1))));
    } else if (name == "stroke1" || name == "stroke2") {
        TMDIShadow* editor = Child<TMDIShadow>();
        editor->BringToFront();
        Form3->Show();
        QTest::qWait(50);
        QWidget* view = name == "stroke1" ? static_cast<QWidget*>(editor->Image1) : editor->Image2;
        gui_test::Stroke(view, QPoint(12, 10), {QPoint(13, 10), QPoint(16, 12), QPoint(22, 14)});
    } else if (name == "rest") {
        QTest::qWait(std::stoi(value));
    } else if (name == "save") {
        dialogs.SaveName = value;
        Child<TMDIShadow>()->Save1Click();
    } else if (name == "mark") {
        std::ofstream(value).flush();
    } else if (name == "answer") {
        dialogs.Yes = value == "yes";
    } else if (name == "exit") {
        if (value == "menu") {
            Form1->Exit1Click();
        } else {
            Form1->BitBtn4Click();
        }
    } else {
        throw std::runtime_error("unknown step " + step);
    }
    QApplication::processEvents();
}

} // namespace

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    TApplication application;
    ScriptDialogs dialogs;
    Application->SetDialogs(&dialogs);
    const std::vector<std::string> steps(argv + 1, argv + argc);
    for (const std::string& step : steps) {
        if (step.rfind("answer=", 0) == 0) {
            Run(step, dialogs); // the start's own question comes before the first step
            break;
        }
    }
    Application->SetTitle("VELMORA.exe");
    Application->CreateForm(Form1);
    Application->CreateForm(Form3);
    Application->CreateForm(Form7);
    StartWorkspaceRecovery();
    // A script that went wrong never leaves the test waiting for ever.
    QTimer::singleShot(60000, qApp, [] { std::_Exit(3); });
    QTimer::singleShot(0, qApp, [&] {
        Guarded([&] {
            for (const std::string& step : steps) {
                Run(step, dialogs);
            }
        });
    });
    Application->Run();
    Application->SetDialogs(nullptr);
    Application->DestroyForms();
    return 0;
}
