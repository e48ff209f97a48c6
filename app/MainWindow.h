// The program's main window as it stands until the full frame is built: a titled, empty frame.
#pragma once

#include <QMainWindow>

QMainWindow* CreateMainWindow();
