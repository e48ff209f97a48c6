// The fixture of the data-file windows' tests.
#include "support/DataWindowTest.h"

#include "app/Unit1.h"
#include "app/Unit7.h"
#include "app/toolkit/Application.h"
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

std::vector<char> FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

bool Exists(const std::string& path) {
    return std::filesystem::exists(path);
}

} // namespace gui_test
