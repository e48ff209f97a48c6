// The program's main window as it stands until the full frame is built: a titled, empty frame.
#include "app/MainWindow.h"

#include <QPalette>

QMainWindow* CreateMainWindow() {
    auto* window = new QMainWindow;
    window->setWindowTitle("Velmora");
    window->setGeometry(192, 223, 630, 420);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, QColor(0x40, 0x40, 0x40));
    window->setPalette(palette);
    window->setAutoFillBackground(true);
    return window;
}
