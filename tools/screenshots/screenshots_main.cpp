// The screenshot tool: starts the program's windows as start-up does, then renders every
// registered window into the folder given as the only argument.
#include "app/Unit1.h"
#include "app/toolkit/Application.h"
#include "screenshots/Screenshots.h"
#include "support/GuiTestSupport.h"
#include "support/ProgramWindows.h"

#include <QApplication>
#include <QDir>
#include <iostream>

std::vector<TScreenshot>& Screenshots() {
    static std::vector<TScreenshot> shots;
    return shots;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: velmora_screenshots OUTPUT_FOLDER\n";
        return 2;
    }
    QApplication qt(argc, argv);
    TApplication application;
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(folder.path())) {
        std::cerr << "velmora_screenshots: cannot create " << argv[1] << '\n';
        return 1;
    }
    int failures = 0;
    try {
        Application->SetTitle("VELMORA.exe");
        gui_test::StartProgramWindows();
        for (const TScreenshot& shot : Screenshots()) {
            // Each shot starts from the empty frame, whatever the order of registration.
            while (Form1->MDIChildCount() > 0) {
                Form1->MDIChildren(0)->Free();
            }
            QWidget* window = shot.stage();
            gui_test::RunPostedEvents();
            const QString file = folder.filePath(QString::fromStdString(shot.role) + ".png");
            if (!window || !window->window()->grab().save(file)) {
                std::cerr << "velmora_screenshots: " << shot.role << " failed\n";
                ++failures;
                continue;
            }
            std::cout << file.toStdString() << '\n';
        }
    } catch (const std::exception& error) {
        std::cerr << "velmora_screenshots: " << error.what() << '\n';
        return 1;
    }
    gui_test::EndProgramWindows();
    return failures == 0 ? 0 : 1;
}
