// Dialogs and message boxes behind one interface: the Qt one for the program, a scripted one
// for tests. The file dialogs are components of a window definition (class TOpenDialog or
// TSaveDialog in a .ui, properties "filter" and "fileName").
#pragma once

#include <QWidget>
#include <optional>
#include <string>
#include <vector>

enum class TMsgResult { mrYes, mrNo, mrOk };

// The file dialogs as window components: invisible, holding their settings and the last name.
class TFileDialog : public QWidget {
    Q_OBJECT
    Q_PROPERTY(QString filter READ FilterText WRITE SetFilterText)
    Q_PROPERTY(QString fileName READ FileNameText WRITE SetFileNameText)

  public:
    // "Description|pattern" pairs, separated by "|", e.g. "Bitmap File|*.bmp".
    std::string Filter;
    std::string FileName;
    // The folder the dialog shows first when FileName names no file (empty: the usual one).
    std::string InitialDir;
    bool PathMustExist = false;
    bool FileMustExist = false;
    bool HideReadOnly = false;
    bool OverwritePrompt = false;
    std::string DefaultExt;

    QString FilterText() const { return QString::fromStdString(Filter); }
    void SetFilterText(const QString& text) { Filter = text.toStdString(); }
    QString FileNameText() const { return QString::fromStdString(FileName); }
    void SetFileNameText(const QString& text) { FileName = text.toStdString(); }

  protected:
    explicit TFileDialog(QWidget* parent);
};

// Open: the path and the file must exist, the read-only box is shown. After a choice FileName
// holds the chosen full name, which the next Execute starts from.
class TOpenDialog : public TFileDialog {
    Q_OBJECT
  public:
    explicit TOpenDialog(QWidget* parent = nullptr);
    // Whether a name was chosen; the name is then in FileName.
    bool Execute();
};

// Save: the read-only box is hidden, no overwrite question of its own, no default extension (a
// name typed without ".bmp" is used as typed).
class TSaveDialog : public TFileDialog {
    Q_OBJECT
  public:
    explicit TSaveDialog(QWidget* parent = nullptr);
    bool Execute();
};

class IDialogs {
  public:
    virtual ~IDialogs() = default;
    // Each file dialog gives back the chosen full name, or nothing when cancelled.
    virtual std::optional<std::string> ExecuteOpen(const TOpenDialog& dialog) = 0;
    virtual std::optional<std::string> ExecuteSave(const TSaveDialog& dialog) = 0;
    // The question box captioned "警告" with "はい(&Y)" and "いいえ(&N)"; Enter answers Yes, Esc
    // and every other way of closing it No. Gives back mrYes or mrNo.
    virtual TMsgResult Warning(const std::string& text) = 0;
    // The box titled with the application title, one OK button.
    virtual void Information(const std::string& text) = 0;
    // The error box: application title, error icon, one OK button; text already finished.
    virtual void Error(const std::string& text) = 0;
    // A small menu of `items` at the pointer: the index of the item chosen, or nothing when it
    // was closed without a choice.
    virtual std::optional<int> PopupMenu(const std::vector<std::string>& items) = 0;
};

// The real dialogs: QFileDialog and QMessageBox, modal with their own nested event loops.
class TQtDialogs : public IDialogs {
  public:
    std::optional<std::string> ExecuteOpen(const TOpenDialog& dialog) override;
    std::optional<std::string> ExecuteSave(const TSaveDialog& dialog) override;
    TMsgResult Warning(const std::string& text) override;
    void Information(const std::string& text) override;
    void Error(const std::string& text) override;
    std::optional<int> PopupMenu(const std::vector<std::string>& items) override;
};

// The program's question and information boxes and pop-up menus, through the application's
// dialogs.
TMsgResult WarningBox(const std::string& text);
void InformationBox(const std::string& text);
std::optional<int> PopupMenu(const std::vector<std::string>& items);

// "Bitmap File|*.bmp" as a Qt name filter: "Bitmap File (*.bmp)", one per pair, ";;" between.
QString QtNameFilter(const std::string& filter);
