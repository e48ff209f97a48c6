// Start-up: the application object and its title, the three auto-created windows in order, the
// event loop, then every window destroyed. --help and --version answer without a window; picture
// files on the command line are handled once the frame is shown.
#include "app/CommandLine.h"
#include "app/Unit1.h"
#include "app/Unit7.h"
#include "app/WorkspaceRecovery.h"
#include "app/toolkit/Application.h"
#include "shadow/Unit3.h"

#include <QApplication>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (const auto answer = StartAnswer(std::vector<std::string>(argv + 1, argv + argc))) {
        std::cout << *answer;
        return 0;
    }
    QApplication qt(argc, argv); // takes the toolkit's own arguments out of argv
    TApplication application;
    try {
        Application->SetTitle("VELMORA.exe");
        Application->CreateForm(Form1);
        Application->CreateForm(Form3);
        Application->CreateForm(Form7);
    } catch (const std::exception& error) {
        std::cerr << "velmora: " << error.what() << '\n';
        return 1;
    }
    const StartFiles files = SortStartFiles(std::vector<std::string>(argv + 1, argv + argc));
    for (const std::string& line : files.Skipped) {
        std::cerr << line << '\n';
    }
    StartWorkspaceRecovery();
    Form1->OpenWhenShown(files.Pictures);
    Application->Run();
    Application->DestroyForms();
    return 0;
}
