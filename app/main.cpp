// Start-up: the application object, its title and the main window, then the event loop.
#include "app/MainWindow.h"

#include <QApplication>
#include <memory>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationDisplayName("VELMORA.exe");
    std::unique_ptr<QMainWindow> mainWindow(CreateMainWindow());
    mainWindow->show();
    return QApplication::exec();
}
