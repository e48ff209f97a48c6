// The file dialog components and the Qt implementation of the dialogs and message boxes.
#include "app/toolkit/Dialogs.h"

#include "app/toolkit/Application.h"
#include "app/toolkit/Form.h"

#include <QApplication>
#include <QCursor>
#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>

TFileDialog::TFileDialog(QWidget* parent) : QWidget(parent) {
    hide();
}

TOpenDialog::TOpenDialog(QWidget* parent) : TFileDialog(parent) {
    PathMustExist = true;
    FileMustExist = true;
}

bool TOpenDialog::Execute() {
    std::optional<std::string> name = Application->Dialogs().ExecuteOpen(*this);
    if (!name) {
        return false;
    }
    FileName = *name;
    return true;
}

TSaveDialog::TSaveDialog(QWidget* parent) : TFileDialog(parent) {
    HideReadOnly = true;
}

bool TSaveDialog::Execute() {
    std::optional<std::string> name = Application->Dialogs().ExecuteSave(*this);
    if (!name) {
        return false;
    }
    FileName = *name;
    return true;
}

QString QtNameFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        filters << QString("%1 (%2)").arg(parts[i], QString(parts[i + 1]).replace(';', ' '));
    }
    return filters.join(";;");
}

namespace {
QWidget* DialogParent() {
    QWidget* active = QApplication::activeWindow();
    if (active) {
        return active;
    }
    return Application ? static_cast<QWidget*>(Application->MainForm()) : nullptr;
}

QString Title() {
    return QString::fromStdString(Application ? Application->Title() : std::string());
}

std::optional<std::string> RunFileDialog(const TFileDialog& settings, bool save) {
    QFileDialog dialog(DialogParent());
    // Qt's own dialog: the platform ones differ in how they treat a typed name without a
    // matching extension, and the read-only choice only exists here.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilter(QtNameFilter(settings.Filter));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(settings.FileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !settings.OverwritePrompt);
    dialog.setDefaultSuffix(QString::fromStdString(settings.DefaultExt));
    if (!settings.InitialDir.empty()) {
        dialog.setDirectory(QString::fromStdString(settings.InitialDir));
    }
    const QString name = QString::fromStdString(settings.FileName);
    if (!name.isEmpty() && !name.contains('*')) {
        dialog.selectFile(name);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front().toStdString();
}
} // namespace

std::optional<std::string> TQtDialogs::ExecuteOpen(const TOpenDialog& dialog) {
    return RunFileDialog(dialog, false);
}

std::optional<std::string> TQtDialogs::ExecuteSave(const TSaveDialog& dialog) {
    return RunFileDialog(dialog, true);
}

TMsgResult TQtDialogs::Warning(const std::string& text) {
    QMessageBox box(QMessageBox::Warning, QString::fromUtf8("警告"), QString::fromStdString(text),
                    QMessageBox::NoButton, DialogParent());
    QPushButton* yes = box.addButton(QString::fromUtf8("はい(&Y)"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QString::fromUtf8("いいえ(&N)"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes ? TMsgResult::mrYes : TMsgResult::mrNo;
}

void TQtDialogs::Information(const std::string& text) {
    QMessageBox box(QMessageBox::Information, Title(), QString::fromStdString(text),
                    QMessageBox::Ok, DialogParent());
    box.exec();
}

void TQtDialogs::Error(const std::string& text) {
    QMessageBox box(QMessageBox::Critical, Title(), QString::fromStdString(text), QMessageBox::Ok,
                    DialogParent());
    box.exec();
}

std::optional<int> TQtDialogs::PopupMenu(const std::vector<std::string>& items) {
    QMenu menu(DialogParent());
    std::vector<QAction*> actions;
    for (const std::string& item : items) {
        actions.push_back(menu.addAction(QString::fromStdString(item)));
    }
    QAction* chosen = menu.exec(QCursor::pos());
    for (std::size_t index = 0; index < actions.size(); ++index) {
        if (actions[index] == chosen) {
            return static_cast<int>(index);
        }
    }
    return std::nullopt;
}

std::optional<int> PopupMenu(const std::vector<std::string>& items) {
    return Application->Dialogs().PopupMenu(items);
}

TMsgResult WarningBox(const std::string& text) {
    return Application->Dialogs().Warning(text);
}

void InformationBox(const std::string& text) {
    Application->Dialogs().Information(text);
}
