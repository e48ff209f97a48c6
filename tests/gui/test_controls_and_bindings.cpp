// Binding by name and its failures, the guard and its error box, and the controls' events.
#include "app/toolkit/Application.h"
#include "app/toolkit/Dialogs.h"
#include "raster/Errors.h"
#include "support/GuiTestSupport.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFrameTest.h"
#include "support/TestWindows.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace gui_test;

namespace {
// A probe definition with one button, one image and the given connections.
QString WriteDefinition(const QTemporaryDir& dir, const char* name, const std::string& topClass,
                        const std::string& connections) {
    const QString path = dir.filePath(QString(name) + ".ui");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    const std::string text = R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0"><class>Probe</class>
 <widget class=")" + topClass +
                             R"(" name="Probe">
  <property name="geometry"><rect><x>0</x><y>0</y><width>100</width><height>80</height></rect></property>
  <widget class="QPushButton" name="Button1"/>
  <widget class="TImage" name="Image1"/>
 </widget>
 <connections>)" + connections +
                             R"(</connections>
</ui>
)";
    file.write(text.data(), static_cast<qint64>(text.size()));
    return path;
}

std::string Connection(const char* sender, const char* signal, const char* slot) {
    return std::string("<connection><sender>") + sender + "</sender><signal>" + signal +
           "</signal><receiver>Probe</receiver><slot>" + slot + "</slot></connection>";
}

std::string CreationError(const QString& path) {
    try {
        TProbeWindow window(path);
    } catch (const EFormDefinitionError& error) {
        return error.what();
    }
    return "created";
}
} // namespace

TEST(WindowDefinition, BindsByNameAndRunsCreate) {
    QTemporaryDir dir;
    const QString path = WriteDefinition(dir, "good", "TProbeWindow",
                                         Connection("Probe", "Create", "FormCreate") +
                                             Connection("Button1", "Click()", "Button1Click()"));
    TProbeWindow window(path);
    EXPECT_EQ(window.Creates, 1);
}

TEST(WindowDefinition, WrongBindingMakesCreationFail) {
    QTemporaryDir dir;
    struct Case {
        const char* name;
        std::string topClass;
        std::string connections;
        const char* says;
    };
    const Case cases[] = {
        {"sender", "TProbeWindow", Connection("Button9", "Click", "Button1Click"), "no component"},
        {"event", "TProbeWindow", Connection("Button1", "Clicked", "Button1Click"),
         "no event of that name"},
        {"formevent", "TProbeWindow", Connection("Probe", "Resize", "FormCreate"),
         "no event of that name"},
        {"handler", "TProbeWindow", Connection("Button1", "Click", "Button2Click"), "no handler"},
        {"parameters", "TProbeWindow", Connection("Button1", "Click", "FormCloseQuery"),
         "parameters"},
        {"mouse", "TProbeWindow", Connection("Image1", "MouseUp", "Button1Click"), "parameters"},
        {"class", "TOtherWindow", "", "the definition is for TOtherWindow"},
    };
    for (const Case& c : cases) {
        const std::string error =
            CreationError(WriteDefinition(dir, c.name, c.topClass, c.connections));
        EXPECT_NE(error.find(c.says), std::string::npos) << c.name << ": " << error;
    }
    EXPECT_NE(CreationError(dir.filePath("missing.ui")).find("cannot be read"), std::string::npos);
}

TEST(ErrorBox, AppendsAFullStopOnlyAfterCharactersSortingAfterIt) {
    EXPECT_EQ(ErrorBoxText("ﾌｧｲﾙ a.bmp は開けません"), "ﾌｧｲﾙ a.bmp は開けません.");
    EXPECT_EQ(ErrorBoxText("Disk full."), "Disk full.");
    EXPECT_EQ(ErrorBoxText("ｽﾄﾘｰﾑからの読み込みｴﾗｰ"), "ｽﾄﾘｰﾑからの読み込みｴﾗｰ.");
    EXPECT_EQ(ErrorBoxText("range 1-"), "range 1-"); // '-' sorts before '.'
    EXPECT_EQ(ErrorBoxText("path /"), "path /.");
    EXPECT_EQ(ErrorBoxText(""), "");
}

class GuardedHandlerTest : public TestFrameTest {
  protected:
    void SetUp() override {
        TestFrameTest::SetUp();
        child = new TTestChild("c");
    }
    TTestChild* child = nullptr;
};

TEST_F(GuardedHandlerTest, ExceptionInAHandlerShowsTheErrorBoxAndTheProgramGoesOn) {
    int runs = 0;
    child->OnButton = [&] {
        if (++runs == 1) {
            throw EFOpenError("fish.bmp");
        }
    };
    dialogs.ExpectError(ErrorBoxText(EFOpenError("fish.bmp").what()));
    QTest::mouseClick(child->Button1, Qt::LeftButton);
    EXPECT_EQ(dialogs.Pending(), 0u);
    QTest::mouseClick(child->Button1, Qt::LeftButton);
    EXPECT_EQ(runs, 2);
    EXPECT_FALSE(Application->Terminated());
    EXPECT_EQ(frame->MDIChildCount(), 1);
}

TEST_F(GuardedHandlerTest, ImageReportsButtonsAndPicturePixelsAndRepaintsOnChange) {
    TImage* image = child->Image1;
    const TBitmap picture(20, 10, RGB(0, 128, 0));
    image->Picture().Assign(picture);
    EXPECT_EQ(image->size(), QSize(20, 10));
    EXPECT_EQ(image->grab().toImage().pixelColor(3, 3), QColor(0, 128, 0));

    image->Canvas().SetPixel(3, 3, RGB(255, 0, 0));
    EXPECT_EQ(image->grab().toImage().pixelColor(3, 3), QColor(255, 0, 0));
    EXPECT_EQ(picture.Pixel(3, 3), RGB(0, 128, 0)); // the control drew on its own copy

    QTest::mousePress(image, Qt::LeftButton, {}, QPoint(3, 4));
    QTest::mouseMove(image, QPoint(5, 6));
    QTest::mouseRelease(image, Qt::LeftButton, {}, QPoint(5, 6));
    QTest::mousePress(image, Qt::RightButton, {}, QPoint(7, 8));
    QTest::mouseRelease(image, Qt::RightButton, {}, QPoint(7, 8));
    const std::vector<std::string> expected = {"Down 0 3 4", "Move 0 5 6", "Up 0 5 6", "Down 1 7 8",
                                               "Up 1 7 8"};
    EXPECT_EQ(child->Mouse, expected);
}

TEST_F(GuardedHandlerTest, EditFiresChangeOnlyForNewTextAndReportsKeyCodes) {
    TEdit* edit = child->Edit1;
    edit->SetText("30");
    edit->SetText("30");
    EXPECT_EQ(child->Changes, 1);
    edit->setFocus();
    QTest::keyClick(edit, 'A');
    QTest::keyClick(edit, Qt::Key_5);
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(child->Keys, (std::vector<int>{65, 53, 13, 27}));
    EXPECT_EQ(edit->Text(), "30A5");
    EXPECT_EQ(child->Changes, 3);
}

TEST_F(GuardedHandlerTest, TimerRunsOnlyWhileEnabledWithAnIntervalAndTicksThroughItsHandler) {
    TTimer* timer = child->Timer1;
    EXPECT_FALSE(timer->Running());
    timer->SetInterval(1);
    EXPECT_TRUE(timer->Running());
    EXPECT_TRUE(QTest::qWaitFor([&] { return child->Ticks > 0; }, 2000));
    timer->SetEnabled(false);
    EXPECT_FALSE(timer->Running());
    timer->SetEnabled(true);
    timer->SetInterval(0);
    EXPECT_FALSE(timer->Running());
}

TEST(FileDialogs, KeepTheChosenNameAndALeaveItOnCancel) {
    ScriptedDialogs dialogs;
    TOpenDialog open;
    open.Filter = "Bitmap File|*.bmp";
    open.FileName = "*.bmp";
    dialogs.ExpectOpen(std::string("/tmp/a.bmp"));
    EXPECT_TRUE(open.Execute());
    EXPECT_EQ(dialogs.LastFileName, "*.bmp");
    EXPECT_EQ(open.FileName, "/tmp/a.bmp");
    dialogs.ExpectOpen(std::nullopt);
    EXPECT_FALSE(open.Execute());
    EXPECT_EQ(dialogs.LastFileName, "/tmp/a.bmp");
    EXPECT_EQ(open.FileName, "/tmp/a.bmp");
    EXPECT_TRUE(open.FileMustExist);
    EXPECT_TRUE(open.PathMustExist);
    EXPECT_FALSE(open.HideReadOnly);

    TSaveDialog save;
    EXPECT_TRUE(save.HideReadOnly);
    EXPECT_FALSE(save.OverwritePrompt);
    EXPECT_TRUE(save.DefaultExt.empty());
    EXPECT_EQ(QtNameFilter("Bitmap File|*.bmp").toStdString(), "Bitmap File (*.bmp)");
    EXPECT_EQ(QtNameFilter("A|*.a|B|*.b;*.c").toStdString(), "A (*.a);;B (*.b *.c)");
}

TEST(Files, ExistOnlyAsRegularFiles) {
    QTemporaryDir dir;
    const QString name = dir.filePath("x.bmp");
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_TRUE(FileExists(name.toStdString()));
    EXPECT_FALSE(FileExists(dir.path().toStdString()));
    EXPECT_FALSE(FileExists(dir.filePath("y.bmp").toStdString()));
    EXPECT_FALSE(FileExists(""));
}

TEST(Cursor, HourglassLastsForItsScope) {
    QWidget window;
    auto* control = new QWidget(&window);
    {
        THourglass busy(control);
        EXPECT_EQ(control->cursor().shape(), Qt::WaitCursor);
        EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);
    }
    EXPECT_FALSE(control->testAttribute(Qt::WA_SetCursor));
}
