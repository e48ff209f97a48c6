// The real message boxes and Open dialog behind the dialogs interface, answered by real key
// presses or closed.
#include "app/toolkit/Dialogs.h"
#include "tests/support/Files.h"
#include "tests/support/ScratchFolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {
// What a box showed before the key answered it.
struct SeenBox {
    std::string title;
    std::string text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    std::vector<std::string> buttons;
};

// The dialog of that kind on screen, if any.
template <class Dialog> Dialog* Visible() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<Dialog*>(widget); dialog && dialog->isVisible()) {
            return dialog;
        }
    }
    return nullptr;
}

// A test before this one may have ended the program, and once asked to quit every nested loop
// (a modal box's too) returns at once. Running the main loop briefly clears that request.
void ClearEarlierQuit() {
    QTimer::singleShot(0, qApp, [] { QCoreApplication::quit(); });
    QCoreApplication::exec();
}

// Runs `open` (which shows a modal dialog) and `answer`s the dialog once it is up. The timer
// lives no longer than this call, so it can never fire into a later test.
template <class Dialog>
void AnswerWhenShown(const std::function<void(Dialog*)>& answer,
                     const std::function<void()>& open) {
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (Dialog* dialog = Visible<Dialog>()) {
            poll.stop();
            answer(dialog);
        }
    });
    poll.start();
    ClearEarlierQuit();
    open();
    EXPECT_FALSE(poll.isActive()) << "the dialog closed without being answered";
}

// Answers a message box, keeping what it showed.
SeenBox Answer(const std::function<void(QMessageBox*)>& answer, const std::function<void()>& open) {
    SeenBox seen;
    AnswerWhenShown<QMessageBox>(
        [&](QMessageBox* box) {
            seen.title = box->windowTitle().toStdString();
            seen.text = box->text().toStdString();
            seen.icon = box->icon();
            for (QAbstractButton* button : box->buttons()) {
                seen.buttons.push_back(button->text().toStdString());
            }
            answer(box);
        },
        open);
    return seen;
}

SeenBox AnswerWithKey(int key, const std::function<void()>& open) {
    return Answer([key](QMessageBox* box) { QTest::keyClick(box, static_cast<Qt::Key>(key)); },
                  open);
}
} // namespace

TEST(MessageBoxes, WarningAsksYesOrNoWhereEnterMeansYesAndEscapeMeansNo) {
    TQtDialogs dialogs;
    TMsgResult answer = TMsgResult::mrOk;
    const SeenBox seen = AnswerWithKey(Qt::Key_Return, [&] { answer = dialogs.Warning("保存?"); });
    EXPECT_EQ(answer, TMsgResult::mrYes);
    EXPECT_EQ(seen.title, "警告");
    EXPECT_EQ(seen.text, "保存?");
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.buttons, (std::vector<std::string>{"はい(&Y)", "いいえ(&N)"}));

    AnswerWithKey(Qt::Key_Escape, [&] { answer = dialogs.Warning("保存?"); });
    EXPECT_EQ(answer, TMsgResult::mrNo);
}

TEST(MessageBoxes, WarningClosedByItsCloseBoxAnswersNo) {
    TQtDialogs dialogs;
    TMsgResult answer = TMsgResult::mrYes;
    Answer([](QMessageBox* box) { box->close(); }, [&] { answer = dialogs.Warning("上書き?"); });
    EXPECT_EQ(answer, TMsgResult::mrNo);
}

TEST(MessageBoxes, InformationAndErrorCarryTheApplicationTitleAndOneOkButton) {
    TQtDialogs dialogs;
    const SeenBox info = AnswerWithKey(Qt::Key_Return, [&] { dialogs.Information("終了"); });
    EXPECT_EQ(info.title, "VELMORA.exe");
    EXPECT_EQ(info.text, "終了");
    EXPECT_EQ(info.icon, QMessageBox::Information);
    EXPECT_EQ(info.buttons.size(), 1u);

    const SeenBox error = AnswerWithKey(Qt::Key_Escape, [&] { dialogs.Error("壊れています."); });
    EXPECT_EQ(error.title, "VELMORA.exe");
    EXPECT_EQ(error.icon, QMessageBox::Critical);
    EXPECT_EQ(error.buttons.size(), 1u);
}

TEST(FileDialogs, OpenShowsItsFilterWithoutAReadOnlyBoxAndNamesOnlyAFileChosenBefore) {
    TQtDialogs dialogs;
    TOpenDialog open;
    open.Filter = "Bitmap File|*.bmp";
    open.FileName = "*.bmp";
    struct Seen {
        QString filter, name;
        int checkBoxes = -1;
    } seen;
    const auto look = [&](QFileDialog* dialog) {
        seen.filter = dialog->selectedNameFilter();
        seen.name = dialog->findChild<QLineEdit*>("fileNameEdit")->text();
        seen.checkBoxes = static_cast<int>(dialog->findChildren<QCheckBox*>().size());
        dialog->reject();
    };
    std::optional<std::string> chosen = "";
    AnswerWhenShown<QFileDialog>(look, [&] { chosen = dialogs.ExecuteOpen(open); });
    EXPECT_EQ(chosen, std::nullopt);
    EXPECT_EQ(seen.filter, "Bitmap File (*.bmp)");
    EXPECT_EQ(seen.name, "") << "the pattern is the filter's, not a name";
    EXPECT_EQ(seen.checkBoxes, 0);

    const test_support::ScratchFolder folder;
    open.FileName = folder.Path("reef.bmp");
    test_support::WriteText(open.FileName, "");
    AnswerWhenShown<QFileDialog>(look, [&] { chosen = dialogs.ExecuteOpen(open); });
    EXPECT_EQ(seen.name, "reef.bmp");
}
