// The fixture of the data-file windows' tests.
#include "support/DataWindowTest.h"

#include "app/Unit1.h"
#include "app/Unit7.h"
#include "app/toolkit/Application.h"
#include "fish/SheetComposer.h"
#include "raster/Bmp.h"
#include "shadow/Unit3.h"

#include <QApplication>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace gui_test {

void DataWindowTest::SetUp() {
    ASSERT_TRUE(folder_.isValid());
    Application->CreateForm(Form1);
    Application->CreateForm(Form3);
    Application->CreateForm(Form7);
    Form1->Show();
    QApplication::setActiveWindow(Form1);
}

void DataWindowTest::TearDown() {
    Application->DestroyForms();
    Form1 = nullptr;
    Form3 = nullptr;
    Form7 = nullptr;
}

std::string DataWindowTest::Path(const std::string& name) const {
    return folder_.filePath(QString::fromStdString(name)).toStdString();
}

std::string DataWindowTest::Write(const std::string& name, const TBitmap& bitmap) const {
    WriteBmpFile(bitmap, Path(name));
    return Path(name);
}

void DataWindowTest::ClickCommand(QPushButton* command, const std::string& path) {
    dialogs.ExpectOpen(path);
    QTest::mouseClick(command, Qt::LeftButton);
}

QObject* DataWindowTest::ActiveChild() const {
    return Form1->ActiveMDIChild();
}

void DataWindowTest::RunBatch(const std::vector<std::string>& arguments) const {
    QStringList list;
    for (const std::string& argument : arguments) {
        list << QString::fromStdString(argument);
    }
    QProcess batch;
    batch.start(VELMORA_BATCH, list);
    ASSERT_TRUE(batch.waitForFinished(30000));
    ASSERT_EQ(batch.exitCode(), 0) << batch.readAllStandardError().toStdString();
}

namespace {
void Fill(TBitmap& bitmap, const TRect& rect, TColor colour) {
    bitmap.Canvas().Brush.Color = colour;
    bitmap.Canvas().FillRect(rect);
}
} // namespace

TBitmap FishSheet(TColor body) {
    const TColor blue = RGB(0, 0, 255);
    TBitmap fish(44, 30);
    Fill(fish, Rect(0, 0, 44, 30), blue);
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
    TBitmap picture(30, 20);
    Fill(picture, Rect(0, 0, 30, 20), background);
    Fill(picture, Rect(5, 8, 21, 19), RGB(120, 120, 128));
    picture.SetPixel(12, 12, clBlack);
    picture.SetPixel(25, 3, kRed);
    return picture;
}

std::vector<char> FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

bool Exists(const std::string& path) {
    return std::filesystem::exists(path);
}

} // namespace gui_test
