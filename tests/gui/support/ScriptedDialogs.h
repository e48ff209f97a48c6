// ScriptedDialogs: the dialogs of a test, answered from a script of expected calls. A call that
// was not expected, or an answer left unused when the script ends, fails the test.
#pragma once

#include "app/toolkit/Dialogs.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class ScriptedDialogs : public IDialogs {
  public:
    // Installs itself as the application's dialogs; the destructor puts the Qt ones back and
    // fails the test for every expectation still waiting.
    ScriptedDialogs();
    ~ScriptedDialogs() override;

    // `whileShown` runs inside the box, after its nested event loop turn.
    void ExpectOpen(std::optional<std::string> answer, std::function<void()> whileShown = {});
    void ExpectSave(std::optional<std::string> answer, std::function<void()> whileShown = {});
    void ExpectWarning(const std::string& text, TMsgResult answer,
                       std::function<void()> whileShown = {});
    void ExpectInformation(const std::string& text);
    void ExpectError(const std::string& text);
    // A pop-up menu of these items; `choice` is the index picked, or nothing for none.
    void ExpectMenu(const std::vector<std::string>& items, std::optional<int> choice);

    // Fails the test for each unused expectation and forgets them.
    void Verify();
    std::size_t Pending() const { return script_.size(); }

    // The settings the last file dialog was shown with.
    std::string LastFilter;
    std::string LastFileName;
    std::string LastInitialDir;

    std::optional<std::string> ExecuteOpen(const TOpenDialog& dialog) override;
    std::optional<std::string> ExecuteSave(const TSaveDialog& dialog) override;
    TMsgResult Warning(const std::string& text) override;
    void Information(const std::string& text) override;
    void Error(const std::string& text) override;
    std::optional<int> PopupMenu(const std::vector<std::string>& items) override;

  private:
    enum class Kind { Open, Save, Warning, Information, Error, Menu };
    struct Step {
        Kind kind;
        std::string text;
        std::optional<std::string> name;
        TMsgResult answer = TMsgResult::mrOk;
        std::function<void()> whileShown;
        std::optional<int> choice;
    };
    // The next step if it is of that kind (and text); otherwise the failure is recorded.
    std::optional<Step> Take(Kind kind, const std::string& text);
    static const char* KindName(Kind kind);
    std::deque<Step> script_;
};
