// Preloaded into the installed velmora by the install test: closes the main window "Velmora" as
// the user's close box would, once it is shown, so that the program starts and ends unattended.
// Exits 3 when the window never shows or the program does not end after the close.
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kPollMilliseconds = 50;
constexpr int kGiveUpMilliseconds = 30000;

void CloseMainWindowOnceShown() {
    QCoreApplication* application = QCoreApplication::instance();
    auto* poll = new QTimer(application);
    QObject::connect(poll, &QTimer::timeout, application, [poll] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible() && window->windowTitle() == "Velmora") {
                poll->stop();
                std::fputs("velmora_close_when_shown: closing the main window\n", stderr);
                window->close();
                return;
            }
        }
    });
    poll->start(kPollMilliseconds);
    QTimer::singleShot(kGiveUpMilliseconds, application, [] {
        std::fputs("velmora_close_when_shown: the program did not show its window and end\n",
                   stderr);
        std::_Exit(3);
    });
}

} // namespace

// Runs from inside QApplication's constructor, before the program's own code.
Q_COREAPP_STARTUP_FUNCTION(CloseMainWindowOnceShown)
