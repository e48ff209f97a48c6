// The real message boxes behind the dialogs interface, answered by real key presses.
#include "app/toolkit/Dialogs.h"

#include <QApplication>
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

// The message box on screen, if any.
QMessageBox* VisibleBox() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) {
            return box;
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

// Runs `open` (which shows a modal box) and `answer`s the box once it is up. The timer lives no
// longer than this call, so it can never fire into a later test.
SeenBox Answer(const std::function<void(QMessageBox*)>& answer, const std::function<void()>& open) {
    SeenBox seen;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QMessageBox* box = VisibleBox();
        if (!box) {
            return;
        }
        poll.stop();
        seen.title = box->windowTitle().toStdString();
        seen.text = box->text().toStdString();
        seen.icon = box->icon();
        for (QAbstractButton* button : box->buttons()) {
            seen.buttons.push_back(button->text().toStdString());
        }
        answer(box);
    });
    poll.start();
    ClearEarlierQuit();
    open();
    EXPECT_FALSE(poll.isActive()) << "the box closed without being answered";
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
