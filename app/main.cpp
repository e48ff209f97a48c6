// Start-up: the application object and its title, the three auto-created windows in order, the
// event loop, then every window destroyed.
#include "app/Unit1.h"
#include "app/Unit7.h"
#include "app/WorkspaceRecovery.h"
#include "app/toolkit/Application.h"
#include "shadow/Unit3.h"

#include <QApplication>
#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
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
    StartWorkspaceRecovery();
    Application->Run();
    Application->DestroyForms();
    return 0;
}
