// The guide's picture tool: starts the program's windows as start-up does, then runs every
// registered journey of the user's guide, writing its pictures into the folder given.
#include "app/Unit1.h"
#include "app/toolkit/Application.h"
#include "screenshots/guide/GuideImages.h"
#include "support/GuiTestSupport.h"
#include "support/ProgramWindows.h"

#include <QApplication>
#include <QDir>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: velmora_guide_images OUTPUT_FOLDER\n";
        return 2;
    }
    QApplication qt(argc, argv);
    TApplication application;
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::cerr << "velmora_guide_images: cannot create " << argv[1] << '\n';
        return 1;
    }
    TGuidePictures pictures(folder);
    RemoveGuideFolder();
    try {
        Application->SetTitle("VELMORA.exe");
        gui_test::StartProgramWindows();
        const QSize frameSize = Form1->size();
        for (const TGuideJourney& journey : GuideJourneys()) {
            // Each journey starts from the empty frame at its own size.
            CloseAllChildren();
            Form1->resize(frameSize);
            journey.render(pictures);
        }
        CloseAllChildren();
    } catch (const std::exception& error) {
        std::cerr << "velmora_guide_images: " << error.what() << '\n';
        RemoveGuideFolder();
        return 1;
    }
    RemoveGuideFolder();
    gui_test::EndProgramWindows();
    return pictures.Failures() == 0 ? 0 : 1;
}
