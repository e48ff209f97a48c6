// The application object (title, auto-created windows, event loop, terminate) and the one guard
// every Qt entry point passes through.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TForm;

// The font every window asks for: the classic Japanese proportional one, which start-up maps to
// its installed twin.
inline constexpr const char* kFormFontFamily = "ＭＳ Ｐゴシック";
class IDialogs;

class TApplication {
  public:
    // Needs a QApplication already constructed; installs itself as the global `Application`.
    TApplication();
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    // The task-bar title; it also titles the information and error boxes.
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title);

    // Creates a window of class T, stores it in `reference` (a program-wide global) and keeps it
    // for DestroyForms. The first window created this way is the main window. A window whose
    // definition leaves it hidden stays hidden until it is shown.
    template <class T> void CreateForm(T*& reference) {
        reference = new T();
        Adopt(reference);
    }
    TForm* MainForm() const;

    // Shows the main window and dispatches events until Terminate.
    void Run();
    // Ends the event loop after the current event (also when called before Run).
    void Terminate();
    bool Terminated() const { return terminated_; }

    // Destroys every window: the main window's MDI children first, then the auto-created windows
    // from the last created to the first. Destroy handlers run, close handlers do not. Clears
    // the main window and the terminate request, so a test can start again.
    void DestroyForms();

    // Where dialogs and message boxes go: the Qt implementation unless replaced (tests).
    IDialogs& Dialogs();
    // nullptr puts the Qt implementation back. The caller keeps ownership.
    void SetDialogs(IDialogs* dialogs);

    // The error box for a failure that ended a command.
    void ShowException(const std::string& message);

  private:
    void Adopt(TForm* form);
    std::string title_;
    bool terminated_ = false;
    std::vector<TForm*> forms_;
    std::unique_ptr<IDialogs> qtDialogs_;
    IDialogs* dialogs_ = nullptr;
};

extern TApplication* Application;

// Runs a handler reached from a Qt signal or event: an exception escaping it ends that command and
// shows the error box; nothing ever propagates into Qt.
void Guarded(const std::function<void()>& handler) noexcept;

// The error box's text: the message with "." appended when its last character (as a Unicode code
// point) sorts after ".".
std::string ErrorBoxText(const std::string& message);

// Whether a regular file of that name exists.
bool FileExists(const std::string& name);
