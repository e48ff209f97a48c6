// The main window's commands: the work commands, the two exits, window arrangement, the About box.
#include "app/Unit1.h"

#include "accessory/Unit5.h"
#include "app/Unit7.h"
#include "app/toolkit/Application.h"
#include "fish/Unit2.h"
#include "fish/Unit4.h"
#include "fish/Unit9.h"
#include "rotate/Unit8.h"
#include "shadow/Unit3.h"
#include "shadow/Unit6.h"

#include <QAction>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

TForm1* Form1 = nullptr;

TForm1::TForm1() {
    Load("Unit1");
}

void TForm1::FindComponents() {
    Find(Panel1, "Panel1");
    Find(BitBtn2, "BitBtn2");
    Find(BitBtn3, "BitBtn3");
    Find(BitBtn1, "BitBtn1");
    Find(BitBtn4, "BitBtn4");
    Find(MainMenu1, "MainMenu1");
    Find(FishData1, "FishData1");
    Find(RotationData1, "RotationData1");
    Find(AccessoryData1, "AccessoryData1");
    Find(Exit1, "Exit1");
    Find(Tile1, "Tile1");
    Find(Cascade1, "Cascade1");
    Find(Version1, "Version1");
    Find(OpenDialog1, "OpenDialog1");
    Find(SaveDialog1, "SaveDialog1");
}

// Fish Data: a new workspace on the chosen picture; the fish window ends in front and its
// activation hides the pen settings window again.
void TForm1::BitBtn2Click() {
    if (!OpenDialog1->Execute() || !FileExists(OpenDialog1->FileName)) {
        return;
    }
    OpenFishWorkspace(OpenDialog1->FileName);
}

void TForm1::FishData1Click() {
    BitBtn2Click();
}

void TForm1::BitBtn3Click() {
    // The pen settings window keeps its visibility: a rotation window has nothing to paint.
    if (!OpenDialog1->Execute() || !FileExists(OpenDialog1->FileName)) {
        return;
    }
    OpenRotationWindow(OpenDialog1->FileName);
}

void TForm1::RotationData1Click() {
    BitBtn3Click();
}

void TForm1::BitBtn1Click() {
    if (!OpenDialog1->Execute()) {
        Form3->Hide();
        return;
    }
    if (!FileExists(OpenDialog1->FileName)) {
        return;
    }
    OpenAccessoryData(OpenDialog1->FileName);
}

void TForm1::OpenAccessoryData(const std::string& path) {
    OpenAccessoryWindow(path);
    Form3->Hide();
}

void TForm1::AccessoryData1Click() {
    BitBtn1Click();
}

void TForm1::BitBtn4Click() {
    CloseChildren([](TForm* child) { return !child->Is<TMDIFish>() && !child->Is<TMDIShadow>(); });
    Application->Terminate();
}

void TForm1::Exit1Click() {
    Application->Terminate();
}

void TForm1::Tile1Click() {
    Tile();
}

void TForm1::Cascade1Click() {
    Cascade();
}

void TForm1::Version1Click() {
    Form7->BringToFront();
}

void TForm1::OpenWhenShown(const TFileList& files) {
    if (files.empty()) {
        return;
    }
    // Posted now, run by the event loop once it has shown the frame.
    QTimer::singleShot(0, this, [this, files] { Guarded([&] { FormDragDrop(files); }); });
}

// Fish Data opens one workspace, on the first file; the other two open a window per file.
void TForm1::FormDragDrop(TFileList files) {
    const std::optional<int> choice =
        PopupMenu({FishData1->text().toStdString(), RotationData1->text().toStdString(),
                   AccessoryData1->text().toStdString()});
    // A file removed while the menu was open is passed over, as the Open dialog would.
    std::erase_if(files, [](const std::string& path) { return !FileExists(path); });
    if (!choice || files.empty()) {
        return;
    }
    switch (*choice) {
    case 0:
        OpenFishWorkspace(files.front());
        break;
    case 1:
        for (const std::string& path : files) {
            OpenRotationWindow(path);
        }
        break;
    case 2:
        for (const std::string& path : files) {
            OpenAccessoryData(path);
        }
        break;
    default:
        break;
    }
}
