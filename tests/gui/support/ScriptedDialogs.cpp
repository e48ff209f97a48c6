// The scripted dialogs: each call checks the next expected step, runs a nested event loop turn
// as a real modal box would, and gives the scripted answer.
#include "support/ScriptedDialogs.h"

#include "app/toolkit/Application.h"
#include "support/GuiTestSupport.h"

#include <gtest/gtest.h>

ScriptedDialogs::ScriptedDialogs() {
    Application->SetDialogs(this);
}

ScriptedDialogs::~ScriptedDialogs() {
    Verify();
    Application->SetDialogs(nullptr);
}

void ScriptedDialogs::ExpectOpen(std::optional<std::string> answer,
                                 std::function<void()> whileShown) {
    script_.push_back(
        {Kind::Open, "", std::move(answer), TMsgResult::mrOk, std::move(whileShown), std::nullopt});
}

void ScriptedDialogs::ExpectSave(std::optional<std::string> answer,
                                 std::function<void()> whileShown) {
    script_.push_back(
        {Kind::Save, "", std::move(answer), TMsgResult::mrOk, std::move(whileShown), std::nullopt});
}

void ScriptedDialogs::ExpectWarning(const std::string& text, TMsgResult answer,
                                    std::function<void()> whileShown) {
    script_.push_back(
        {Kind::Warning, text, std::nullopt, answer, std::move(whileShown), std::nullopt});
}

void ScriptedDialogs::ExpectInformation(const std::string& text) {
    script_.push_back({Kind::Information, text, std::nullopt, TMsgResult::mrOk, {}, std::nullopt});
}

void ScriptedDialogs::ExpectError(const std::string& text) {
    script_.push_back({Kind::Error, text, std::nullopt, TMsgResult::mrOk, {}, std::nullopt});
}

namespace {
// A menu's items as one text, for the comparison and the failure message.
std::string MenuText(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) {
        text += (text.empty() ? "" : " | ") + item;
    }
    return text;
}
} // namespace

void ScriptedDialogs::ExpectMenu(const std::vector<std::string>& items, std::optional<int> choice) {
    script_.push_back({Kind::Menu, MenuText(items), std::nullopt, TMsgResult::mrOk, {}, choice});
}

void ScriptedDialogs::Verify() {
    for (const Step& step : script_) {
        ADD_FAILURE() << "expected " << KindName(step.kind) << " \"" << step.text
                      << "\" was never shown";
    }
    script_.clear();
}

const char* ScriptedDialogs::KindName(Kind kind) {
    switch (kind) {
    case Kind::Open:
        return "open dialog";
    case Kind::Save:
        return "save dialog";
    case Kind::Warning:
        return "warning box";
    case Kind::Information:
        return "information box";
    case Kind::Error:
        return "error box";
    case Kind::Menu:
        return "pop-up menu";
    }
    return "?";
}

std::optional<ScriptedDialogs::Step> ScriptedDialogs::Take(Kind kind, const std::string& text) {
    if (script_.empty()) {
        ADD_FAILURE() << "unexpected " << KindName(kind) << " \"" << text
                      << "\": the script has no more steps";
        return std::nullopt;
    }
    Step step = script_.front();
    if (step.kind != kind) {
        ADD_FAILURE() << "unexpected " << KindName(kind) << " \"" << text << "\": expected "
                      << KindName(step.kind) << " \"" << step.text << "\"";
        return std::nullopt;
    }
    script_.pop_front();
    EXPECT_EQ(step.text, text) << "text of the " << KindName(kind);
    // A modal box runs a nested loop: windows marked to be freed go now.
    gui_test::RunPostedEvents();
    if (step.whileShown) {
        step.whileShown();
    }
    return step;
}

std::optional<std::string> ScriptedDialogs::ExecuteOpen(const TOpenDialog& dialog) {
    LastFilter = dialog.Filter;
    LastFileName = dialog.FileName;
    LastInitialDir = dialog.InitialDir;
    std::optional<Step> step = Take(Kind::Open, "");
    return step ? step->name : std::nullopt;
}

std::optional<std::string> ScriptedDialogs::ExecuteSave(const TSaveDialog& dialog) {
    LastFilter = dialog.Filter;
    LastFileName = dialog.FileName;
    LastInitialDir = dialog.InitialDir;
    std::optional<Step> step = Take(Kind::Save, "");
    return step ? step->name : std::nullopt;
}

TMsgResult ScriptedDialogs::Warning(const std::string& text) {
    std::optional<Step> step = Take(Kind::Warning, text);
    return step ? step->answer : TMsgResult::mrNo;
}

void ScriptedDialogs::Information(const std::string& text) {
    Take(Kind::Information, text);
}

void ScriptedDialogs::Error(const std::string& text) {
    Take(Kind::Error, text);
}

std::optional<int> ScriptedDialogs::PopupMenu(const std::vector<std::string>& items) {
    std::optional<Step> step = Take(Kind::Menu, MenuText(items));
    return step ? step->choice : std::nullopt;
}
