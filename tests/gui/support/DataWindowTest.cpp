// The fixture of the data-file windows' tests.
#include "support/DataWindowTest.h"

#include "app/Unit1.h"
#include "fish/SheetComposer.h"
#include "tests/support/Programs.h"

#include <QPushButton>
#include <QTest>

namespace gui_test {

void DataWindowTest::ClickCommand(QPushButton* command, const std::string& path) {
    dialogs.ExpectOpen(path);
    QTest::mouseClick(command, Qt::LeftButton);
}

QObject* DataWindowTest::ActiveChild() const {
    return Form1->ActiveMDIChild();
}

void DataWindowTest::RunBatch(const std::vector<std::string>& arguments) const {
    const ProgramRun run = RunProgram(VELMORA_BATCH, arguments);
    ASSERT_EQ(run.Status, 0) << run.Err;
}

TBitmap FishSheet(TColor body) {
    const TColor blue = RGB(0, 0, 255);
    TBitmap fish(44, 30, blue);
    Fill(fish, Rect(6, 12, 37, 23), body);
    Fill(fish, Rect(14, 5, 22, 12), RGB(250, 220, 0));
    fish.SetPixel(10, 15, clBlack);
    TBitmap shadow1(44, 30), shadow2(44, 30);
    Fill(shadow1, Rect(8, 14, 20, 22), RGB(128, 128, 128));
    Fill(shadow2, Rect(24, 13, 36, 21), RGB(96, 96, 96));
    TBitmap sheet;
    ComposeFishSheet(fish, blue, shadow1, shadow2, 1, sheet);
    return sheet;
}

TBitmap RockPicture(TColor background) {
    TBitmap picture(30, 20, background);
    Fill(picture, Rect(5, 8, 21, 19), RGB(120, 120, 128));
    picture.SetPixel(12, 12, clBlack);
    picture.SetPixel(25, 3, kRed);
    return picture;
}

} // namespace gui_test
