// The application object, the guard around every handler and the file-existence test.
#include "app/toolkit/Application.h"

#include "app/toolkit/Dialogs.h"
#include "app/toolkit/Form.h"
#include "raster/Errors.h"

#include <QApplication>
#include <QFont>
#include <QPointer>
#include <algorithm>
#include <exception>
#include <filesystem>
#include <new>
#include <stdexcept>

TApplication* Application = nullptr;

TApplication::TApplication() : qtDialogs_(std::make_unique<TQtDialogs>()) {
    // The window definitions and glyphs live in a static library: pull them in.
    Q_INIT_RESOURCE(velmora_forms);
    Application = this;
    QApplication::setQuitOnLastWindowClosed(false);
    QFont::insertSubstitution(QString::fromUtf8(kFormFontFamily), "IPAPGothic");
}

TApplication::~TApplication() {
    DestroyForms();
    if (Application == this) {
        Application = nullptr;
    }
}

void TApplication::SetTitle(const std::string& title) {
    title_ = title;
    // The application name, not the display name: Qt would append a display name to every
    // window's caption.
    QCoreApplication::setApplicationName(QString::fromStdString(title));
}

TForm* TApplication::MainForm() const {
    return forms_.empty() ? nullptr : forms_.front();
}

void TApplication::Adopt(TForm* form) {
    forms_.push_back(form);
    if (forms_.size() == 1) {
        form->MarkMainForm();
    }
}

void TApplication::Run() {
    if (terminated_) {
        return;
    }
    if (TForm* main = MainForm()) {
        main->Show();
    }
    QApplication::exec();
}

void TApplication::Terminate() {
    terminated_ = true;
    QCoreApplication::exit(0);
}

void TApplication::DestroyForms() {
    if (TForm* main = MainForm()) {
        while (main->MDIChildCount() > 0) {
            main->MDIChildren(0)->Free();
        }
    }
    while (!forms_.empty()) {
        TForm* form = forms_.back();
        forms_.pop_back();
        form->Free();
    }
    terminated_ = false;
}

IDialogs& TApplication::Dialogs() {
    return dialogs_ ? *dialogs_ : *qtDialogs_;
}

void TApplication::SetDialogs(IDialogs* dialogs) {
    dialogs_ = dialogs;
}

void TApplication::ShowException(const std::string& message) {
    Dialogs().Error(ErrorBoxText(message));
}

void Guarded(const std::function<void()>& handler) noexcept {
    try {
        try {
            handler();
        } catch (const std::bad_alloc&) {
            // Memory that ran out anyway is the same lack of resources the surfaces report.
            if (Application) {
                Application->ShowException(msg::kOutOfResources);
            }
        } catch (const std::exception& error) {
            if (Application) {
                Application->ShowException(error.what());
            }
        } catch (...) {
            if (Application) {
                Application->ShowException("Unknown error");
            }
        }
    } catch (...) {
        // The error box itself failed; there is nothing left to tell the user with.
    }
}

namespace {
// The code point of the last UTF-8 character, or -1 for an empty text.
long LastCodePoint(const std::string& text) {
    if (text.empty()) {
        return -1;
    }
    std::size_t start = text.size() - 1;
    while (start > 0 && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80) {
        --start;
    }
    auto lead = static_cast<unsigned char>(text[start]);
    long point;
    std::size_t extra;
    if (lead < 0x80) {
        point = lead;
        extra = 0;
    } else if ((lead & 0xE0) == 0xC0) {
        point = lead & 0x1F;
        extra = 1;
    } else if ((lead & 0xF0) == 0xE0) {
        point = lead & 0x0F;
        extra = 2;
    } else {
        point = lead & 0x07;
        extra = 3;
    }
    for (std::size_t i = 1; i <= extra && start + i < text.size(); ++i) {
        point = (point << 6) | (static_cast<unsigned char>(text[start + i]) & 0x3F);
    }
    return point;
}
} // namespace

std::string ErrorBoxText(const std::string& message) {
    return LastCodePoint(message) > '.' ? message + "." : message;
}

bool FileExists(const std::string& name) {
    std::error_code error;
    return !name.empty() && std::filesystem::is_regular_file(name, error);
}
