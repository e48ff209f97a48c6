// The main window and the About box read back from the live widgets, the two exits against
// children that ask on closing, Version shown twice, menu replacement over the real frame.
#include "app/Unit1.h"
#include "app/Unit7.h"
#include "app/toolkit/Application.h"
#include "shadow/Unit3.h"
#include "support/GuiTestSupport.h"
#include "support/ProgramWindows.h"
#include "support/TestWindows.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

using namespace gui_test;
using Names = std::vector<std::string>;

namespace {
// The start-up of the program, without the event loop.
class MainWindowTest : public ProgramWindowsTest {
  protected:
    void SetUp() override {
        EventLog().clear();
        ProgramWindowsTest::SetUp();
    }
    // A child that asks a question whenever it closes, as rotation and accessory windows do.
    template <class T = TTestChild> T* AskingChild(const std::string& name) {
        T* child = new T(name);
        child->OnClosing = [name] { WarningBox("save " + name + "?"); };
        return child;
    }
};

Names ItemTitles(const QMenu* menu) {
    return MenuTitles(menu);
}
} // namespace

TEST_F(MainWindowTest, FrameHasItsCaptionGeometryColourAndIcon) {
    EXPECT_EQ(Form1->Caption(), "Velmora");
    EXPECT_EQ(Form1->size(), QSize(630, 420));
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE((Form1->frameGeometry().center() - screen.center()).manhattanLength(), 2);
    EXPECT_TRUE(Form1->IsMDIFrame());
    EXPECT_EQ(Form1->MDIClient()->background().color(), QColor(0x40, 0x40, 0x40));
    EXPECT_FALSE(Form1->windowIcon().pixmap(32, 32).isNull());
    EXPECT_EQ(QString::fromStdString(Application->Title()), "VELMORA.exe");
    EXPECT_EQ(Form1->font().family(), QString::fromUtf8("ＭＳ Ｐゴシック"));
    EXPECT_EQ(Form1->font().pixelSize(), 12);
}

TEST_F(MainWindowTest, ToolBarButtonsHaveTheirCaptionsHintsPlacesGlyphsAndTabOrder) {
    EXPECT_EQ(Form1->Panel1->height(), 45);
    EXPECT_EQ(Form1->Panel1->width(), Form1->width());
    EXPECT_EQ(Form1->Panel1->y(), Form1->MenuBarView()->height());
    EXPECT_EQ(Form1->Panel1->frameShadow(), QFrame::Sunken);
    struct Button {
        QPushButton* button;
        const char* text;
        const char* hint;
        int left;
        int width;
        int glyph;
    };
    const Button buttons[] = {
        {Form1->BitBtn2, "Fish Data", "熱帯魚画像ﾃﾞｰﾀの作成", 3, 120, 24},
        {Form1->BitBtn3, "Rotate", "熱帯魚上向き下向きﾃﾞｰﾀの作成", 123, 120, 32},
        {Form1->BitBtn1, "Accessory Data", "水槽内ｱｸｾｻﾘﾃﾞｰﾀの作成", 243, 120, 24},
        {Form1->BitBtn4, "Exit", "ﾌﾟﾛｸﾞﾗﾑを終了する", 376, 90, 32},
    };
    for (const Button& b : buttons) {
        EXPECT_EQ(b.button->text(), QString::fromUtf8(b.text));
        EXPECT_EQ(b.button->toolTip(), QString::fromUtf8(b.hint)) << b.text;
        EXPECT_EQ(b.button->geometry(), QRect(b.left, 4, b.width, 36)) << b.text;
        EXPECT_EQ(b.button->iconSize(), QSize(b.glyph, b.glyph)) << b.text;
        EXPECT_FALSE(b.button->icon().pixmap(b.glyph).isNull()) << b.text;
        EXPECT_EQ(b.button->parentWidget(), Form1->Panel1);
    }
    std::vector<QWidget*> order;
    QWidget* w = Form1->BitBtn1;
    for (int i = 0; i < 50 && order.size() < 4; ++i, w = w->nextInFocusChain()) {
        if (qobject_cast<QPushButton*>(w) &&
            std::find(order.begin(), order.end(), w) == order.end()) {
            order.push_back(w);
        }
    }
    EXPECT_EQ(order, (std::vector<QWidget*>{Form1->BitBtn1, Form1->BitBtn2, Form1->BitBtn3,
                                            Form1->BitBtn4}));
}

TEST_F(MainWindowTest, MenuHasFileWindowAndADirectVersionItem) {
    EXPECT_EQ(MenuTitles(Form1->MenuBarView()), (Names{"File", "Window", "Version"}));
    const QList<QAction*> top = Form1->MenuBarView()->actions();
    ASSERT_EQ(top.size(), 3);
    EXPECT_EQ(ItemTitles(top[0]->menu()),
              (Names{"Fish Data", "Rotate Fish Data", "Accessory Data", "-", "Exit"}));
    EXPECT_EQ(ItemTitles(top[1]->menu()), (Names{"Tile", "Cascade"}));
    EXPECT_EQ(top[2], Form1->Version1);
    EXPECT_EQ(top[2]->menu(), nullptr);
    for (QAction* item : Form1->findChildren<QAction*>()) {
        EXPECT_TRUE(item->shortcut().isEmpty()) << item->text().toStdString();
    }
}

TEST_F(MainWindowTest, SharedFileDialogsStartFromTheirFiltersAndNames) {
    // BMP first, as ever; then PNG alone and both together.
    EXPECT_EQ(QtNameFilter(Form1->OpenDialog1->Filter).toStdString(),
              "Bitmap File (*.bmp);;PNG File (*.png);;Pictures (*.bmp *.png)");
    EXPECT_EQ(Form1->OpenDialog1->FileName, "*.bmp");
    EXPECT_EQ(Form1->SaveDialog1->Filter, "BMP File|*.bmp");
    EXPECT_EQ(Form1->SaveDialog1->FileName, "");
    EXPECT_FALSE(Form1->OpenDialog1->isVisible());
}

TEST_F(MainWindowTest, PenWindowAndAboutBoxAreCreatedHidden) {
    EXPECT_EQ(Application->MainForm(), Form1);
    EXPECT_FALSE(Form3->Visible());
    EXPECT_FALSE(Form7->Visible());
    EXPECT_EQ(Form3->Caption(), "ペン");
    EXPECT_EQ(Form3->ClientWidth(), 126);
    EXPECT_EQ(Form3->ClientHeight(), 204);
    EXPECT_TRUE(Form3->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(Form3->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(Form3->ScrollBar1->value(), 20);
    EXPECT_EQ(Form3->ScrollBar3->maximum(), 255);
}

TEST_F(MainWindowTest, AboutBoxHasItsLayoutAndOnlyACloseBox) {
    EXPECT_EQ(Form7->Caption(), "Version情報");
    EXPECT_EQ(Form7->size(), QSize(326, 187));
    EXPECT_EQ(Form7->minimumSize(), Form7->maximumSize());
    EXPECT_FALSE(Form7->IsMDIChild());
    EXPECT_TRUE(Form7->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(Form7->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(Form7->Panel1->geometry(), QRect(13, 27, 46, 44));
    EXPECT_EQ(Form7->Image2->geometry(), QRect(7, 5, 32, 32));
    EXPECT_EQ(Form7->Image2->Picture().Width(), 32);
    EXPECT_EQ(Form7->Label1->text(), "Velmora");
    EXPECT_EQ(Form7->Label2->text(), "Version 1.8a Mk4");
    EXPECT_EQ(Form7->Label2->geometry(), QRect(86, 59, 171, 22));
    EXPECT_TRUE(Form7->Label2->wordWrap());
    EXPECT_EQ(Form7->Button1->geometry(), QRect(72, 138, 189, 29));
    EXPECT_EQ(Form7->Button1->text(), "OK");
}

TEST_F(MainWindowTest, AboutBoxIconShowsTheLoweredPanelThroughItsTransparentBackground) {
    const QImage shown = Form7->Panel1->grab().toImage();
    const QPoint icon = Form7->Image2->pos();
    const QColor panel = Form7->Panel1->palette().color(QPalette::Window);
    ASSERT_NE(panel, QColor(Qt::white));
    EXPECT_EQ(shown.pixelColor(icon + QPoint(0, 0)), panel) << "a transparent corner";
    EXPECT_EQ(shown.pixelColor(icon + QPoint(31, 31)), panel) << "a transparent corner";
    EXPECT_EQ(shown.pixelColor(icon + QPoint(16, 1)), QColor(0, 255, 0)) << "a water plant";
}

TEST_F(MainWindowTest, VersionChosenTwiceShowsTheSameAboutBoxWhichOkAndCloseBoxHide) {
    const auto aboutBoxes = [] {
        long n = 0;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            n += qobject_cast<TForm7*>(w) && w->isVisible() ? 1 : 0;
        }
        return n;
    };
    Form1->Version1->trigger();
    Form1->Version1->trigger();
    EXPECT_TRUE(Form7->Visible());
    EXPECT_EQ(aboutBoxes(), 1);
    QTest::mouseClick(Form7->Button1, Qt::LeftButton);
    EXPECT_FALSE(Form7->Visible());
    Form1->Version1->trigger();
    EXPECT_TRUE(Form7->Visible());
    Form7->close();
    RunPostedEvents();
    EXPECT_FALSE(Form7->Visible());
    EXPECT_EQ(aboutBoxes(), 0);
    Form1->Version1->trigger();
    EXPECT_TRUE(Form7->Visible());
}

TEST_F(MainWindowTest, MenuExitTerminatesAtOnceWithoutClosingAnyChild) {
    AskingChild("rotate");
    AskingChild<TMDIAnim>("anim");
    Form1->Exit1->trigger();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(EventCount("rotate:Close") + EventCount("anim:Close"), 0);
    EXPECT_EQ(Form1->MDIChildCount(), 2);
}

TEST_F(MainWindowTest, ToolBarExitClosesAllButFishWindowsAndShadowEditorsThenTerminates) {
    AskingChild("rotate");
    new TMDIFish("fish");
    new TMDIShadow("shadow");
    AskingChild<TMDIAnim>("anim");
    // From the back of the window list: rotate was created first.
    dialogs.ExpectWarning("save rotate?", TMsgResult::mrYes);
    dialogs.ExpectWarning("save anim?", TMsgResult::mrNo);
    QTest::mouseClick(Form1->BitBtn4, Qt::LeftButton);
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(EventCount("rotate:Close"), 1);
    EXPECT_EQ(EventCount("anim:Close"), 1);
    EXPECT_EQ(EventCount("fish:Close") + EventCount("shadow:Close"), 0);
}

TEST_F(MainWindowTest, ToolBarExitSkipsPositionsThatFreeingInAQuestionTookAway) {
    // Window list, front to back: fish, shadow, rotate2, anim, rotate1.
    new TTestChild("rotate1");
    TMDIAnim* anim = new TMDIAnim("anim");
    AskingChild("rotate2");
    TMDIShadow* shadow = new TMDIShadow("shadow");
    TMDIFish* fish = new TMDIFish("fish");
    ASSERT_EQ(ChildNames(Form1), (Names{"fish", "shadow", "rotate2", "anim", "rotate1"}));
    // Closing the animation window closes its workspace, as the workspace close does.
    anim->OnClosing = [=] {
        fish->Close();
        shadow->Close();
    };
    int leftDuringQuestion = -1;
    dialogs.ExpectWarning("save rotate2?", TMsgResult::mrNo,
                          [&] { leftDuringQuestion = Form1->MDIChildCount(); });
    // Position 1 is past the end by now; position 0 is rotate2 again, which asks again.
    dialogs.ExpectWarning("save rotate2?", TMsgResult::mrNo);
    Form1->BitBtn4Click();
    EXPECT_EQ(leftDuringQuestion, 1);
    EXPECT_EQ(EventCount("rotate1:Close"), 1);
    EXPECT_EQ(EventCount("fish:Close"), 1);
    EXPECT_EQ(EventCount("rotate2:Close"), 2);
    EXPECT_TRUE(Application->Terminated());
}

TEST_F(MainWindowTest, ClosingTheFrameEndsTheProgramWithoutChildCloseHandlers) {
    AskingChild("rotate");
    Form1->close();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(EventCount("rotate:CloseQuery"), 1);
    EXPECT_EQ(EventCount("rotate:Close"), 0);
}

TEST_F(MainWindowTest, ChildMenuReplacesTheFrameMenuWhileToolBarStaysReachable) {
    TTestChild* child = new TTestChild("child");
    EXPECT_EQ(MenuTitles(Form1->MenuBarView()), (Names{"Child"}));
    EXPECT_TRUE(Form1->BitBtn4->isVisible());
    EXPECT_TRUE(Form1->BitBtn4->isEnabled());
    child->Close();
    RunPostedEvents();
    EXPECT_EQ(MenuTitles(Form1->MenuBarView()), (Names{"File", "Window", "Version"}));
}

TEST_F(MainWindowTest, WindowMenuTilesAndCascadesTheChildren) {
    new TTestChild("a");
    new TTestChild("b");
    Form1->Tile1->trigger();
    const int width = Form1->MDIClient()->viewport()->width();
    EXPECT_EQ(Form1->MDIChildren(0)->Width(), width);
    EXPECT_EQ(Form1->MDIChildren(1)->Width(), width);
    EXPECT_NE(Form1->MDIChildren(0)->Top(), Form1->MDIChildren(1)->Top());
    Form1->Cascade1->trigger();
    EXPECT_LT(Form1->MDIChildren(0)->Width(), width);
}
