// The MDI frame and the close protocol: child-list order, activation order, menu replacement,
// deferred freeing (also inside a question's nested loop), vetoes and changed close actions.
#include "app/toolkit/Application.h"
#include "support/GuiTestSupport.h"
#include "support/TestFrameTest.h"
#include "support/TestWindows.h"
#include "tests/support/Surfaces.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

using namespace gui_test;
using Names = std::vector<std::string>;

namespace {
class MdiFrameTest : public TestFrameTest {
  protected:
    TTestChild* Child(const std::string& name) { return new TTestChild(name); }
};
} // namespace

TEST_F(MdiFrameTest, NewChildIsActiveAndFirstFocusedChildMovesToFront) {
    TTestChild* a = Child("a");
    TTestChild* b = Child("b");
    TTestChild* c = Child("c");
    EXPECT_EQ(ChildNames(frame), (Names{"c", "b", "a"}));
    EXPECT_EQ(frame->ActiveMDIChild(), c);
    EXPECT_TRUE(c->Visible());

    a->Edit1->setFocus();
    EXPECT_EQ(ChildNames(frame), (Names{"a", "c", "b"}));
    EXPECT_EQ(frame->ActiveMDIChild(), a);

    b->BringToFront();
    EXPECT_EQ(ChildNames(frame), (Names{"b", "a", "c"}));
    EXPECT_EQ(frame->MDIClient()->activeSubWindow(), b->Frame());
}

TEST_F(MdiFrameTest, LosingChildIsDeactivatedBeforeGainingChildIsActivated) {
    TTestChild* a = Child("a");
    Child("b");
    EXPECT_EQ(EventLog(), (Names{"a:Activate", "a:Deactivate", "b:Activate"}));
    EventLog().clear();
    QTest::mouseClick(a->Button1, Qt::LeftButton);
    ASSERT_GE(EventLog().size(), 2u);
    EXPECT_EQ(EventLog()[0], "b:Deactivate");
    EXPECT_EQ(EventLog()[1], "a:Activate");
    // Giving the focus back to the frame's own tool bar does not deactivate the child.
    EXPECT_EQ(EventCount("a:Deactivate"), 0);
}

TEST_F(MdiFrameTest, ActiveChildMenuReplacesFrameMenuUntilLastChildIsFreed) {
    EXPECT_EQ(MenuTitles(frame->MenuBarView()), (Names{"Frame"}));
    TTestChild* a = Child("a");
    TTestChild* b = Child("b");
    EXPECT_EQ(MenuTitles(frame->MenuBarView()), (Names{"Child"}));
    b->Close();
    RunPostedEvents();
    EXPECT_EQ(frame->ActiveMDIChild(), a);
    EXPECT_EQ(MenuTitles(frame->MenuBarView()), (Names{"Child"}));
    a->Close();
    RunPostedEvents();
    EXPECT_EQ(frame->MDIChildCount(), 0);
    EXPECT_EQ(frame->ActiveMDIChild(), nullptr);
    EXPECT_EQ(MenuTitles(frame->MenuBarView()), (Names{"Frame"}));
    // The tool bar sits below the menu bar the whole time.
    EXPECT_EQ(frame->findChild<TPanel*>("Panel1")->y(), frame->MenuBarView()->height());
}

TEST_F(MdiFrameTest, FreeIsDeferredToTheEventLoopAndTheWindowStaysListedUntilThen) {
    Child("a");
    TTestChild* b = Child("b");
    b->Close();
    EXPECT_EQ(EventLog().back(), "b:Close");
    EXPECT_TRUE(b->FreePending());
    EXPECT_EQ(ChildNames(frame), (Names{"b", "a"}));
    EXPECT_EQ(EventCount("b:Destroy"), 0);
    RunPostedEvents();
    EXPECT_EQ(ChildNames(frame), (Names{"a"}));
    EXPECT_EQ(EventCount("b:Destroy"), 1);
    // The freed active child hands activation to the next one in the list.
    EXPECT_EQ(EventLog().back(), "a:Activate");
}

TEST_F(MdiFrameTest, VetoStopsTheCloseBeforeTheCloseHandler) {
    TTestChild* a = Child("a");
    a->AllowClose = false;
    a->Close();
    RunPostedEvents();
    EXPECT_EQ(EventCount("a:CloseQuery"), 1);
    EXPECT_EQ(EventCount("a:Close"), 0);
    EXPECT_FALSE(a->FreePending());
    EXPECT_EQ(frame->MDIChildCount(), 1);
}

TEST_F(MdiFrameTest, CloseActionDefaultsToMinimiseAndTheHandlerMayChangeIt) {
    TTestChild* a = Child("a");
    a->Action.reset();
    a->Close();
    EXPECT_TRUE(a->Frame()->isMinimized());
    EXPECT_FALSE(a->FreePending());

    TTestChild* b = Child("b");
    b->Action = TCloseAction::caHide;
    b->Close();
    EXPECT_FALSE(b->Visible());

    TTestChild* c = Child("c");
    c->Action = TCloseAction::caNone;
    c->Close();
    RunPostedEvents();
    EXPECT_TRUE(c->Visible());
    EXPECT_FALSE(c->Frame()->isMinimized());
    EXPECT_EQ(frame->MDIChildCount(), 3);
}

TEST_F(MdiFrameTest, ClosingAWindowMarkedForFreeingRunsTheHandlerAgainAndFreesOnce) {
    TTestChild* a = Child("a");
    a->Close();
    a->Close();
    EXPECT_EQ(EventCount("a:Close"), 2);
    RunPostedEvents();
    RunPostedEvents();
    EXPECT_EQ(EventCount("a:Destroy"), 1);
    EXPECT_EQ(frame->MDIChildCount(), 0);

    // The same from inside its own close handler, as a workspace close does.
    TTestChild* b = Child("b");
    bool inner = false;
    b->OnClosing = [&] {
        if (!inner) {
            inner = true;
            b->Close();
        }
    };
    b->Close();
    EXPECT_EQ(EventCount("b:Close"), 2);
    RunPostedEvents();
    EXPECT_EQ(EventCount("b:Destroy"), 1);
}

TEST_F(MdiFrameTest, WindowClosedEarlierIsFreedInsideTheNestedLoopOfAQuestion) {
    TTestChild* a = Child("a");
    TTestChild* b = Child("b");
    a->Close();
    int childrenDuringQuestion = -1;
    b->OnClosing = [&] { WarningBox("save b?"); };
    dialogs.ExpectWarning("save b?", TMsgResult::mrNo,
                          [&] { childrenDuringQuestion = frame->MDIChildCount(); });
    b->Close();
    EXPECT_EQ(childrenDuringQuestion, 1);
    EXPECT_EQ(EventCount("a:Destroy"), 1);
    EXPECT_EQ(ChildNames(frame), (Names{"b"}));
}

TEST_F(MdiFrameTest, WindowIsNotFreedUnderItsOwnCloseHandlersQuestion) {
    TTestChild* a = Child("a");
    a->Close();
    a->OnClosing = [] { WarningBox("again?"); };
    int listedDuringQuestion = -1;
    dialogs.ExpectWarning("again?", TMsgResult::mrNo,
                          [&] { listedDuringQuestion = frame->MDIChildCount(); });
    a->Close();
    EXPECT_EQ(listedDuringQuestion, 1);
    EXPECT_EQ(EventCount("a:Destroy"), 0);
    RunPostedEvents();
    EXPECT_EQ(EventCount("a:Destroy"), 1);
    EXPECT_EQ(frame->MDIChildCount(), 0);
}

TEST_F(MdiFrameTest, CloseBoxOfAChildGoesThroughTheCloseProtocol) {
    TTestChild* a = Child("a");
    a->Frame()->close();
    EXPECT_EQ(EventCount("a:CloseQuery"), 1);
    EXPECT_TRUE(a->FreePending());
    RunPostedEvents();
    EXPECT_EQ(frame->MDIChildCount(), 0);
}

TEST_F(MdiFrameTest, ClosingTheFrameAsksEveryChildAndEndsWithoutTheirCloseHandlers) {
    TTestChild* a = Child("a");
    Child("b");
    a->AllowClose = false;
    frame->Close();
    EXPECT_FALSE(Application->Terminated());
    a->AllowClose = true;
    frame->close();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(EventCount("a:CloseQuery"), 2);
    EXPECT_EQ(EventCount("b:CloseQuery"), 2);
    EXPECT_EQ(EventCount("a:Close") + EventCount("b:Close"), 0);
}

TEST_F(MdiFrameTest, DestroyingAllWindowsRunsDestroyHandlersButNoCloseHandlers) {
    Child("a");
    Child("b");
    Application->DestroyForms();
    EXPECT_EQ(EventCount("a:Destroy"), 1);
    EXPECT_EQ(EventCount("b:Destroy"), 1);
    EXPECT_EQ(EventCount("a:Close") + EventCount("b:Close"), 0);
}

TEST_F(MdiFrameTest, TileStacksWideWindowsAndCascadeOffsetsThem) {
    Child("a");
    Child("b");
    Child("c");
    frame->Tile();
    const QRect area = frame->MDIClient()->viewport()->rect();
    std::vector<QRect> tiles;
    for (int i = 0; i < frame->MDIChildCount(); ++i) {
        tiles.push_back(frame->MDIChildren(i)->Frame()->geometry());
    }
    std::sort(tiles.begin(), tiles.end(), [](QRect l, QRect r) { return l.top() < r.top(); });
    for (std::size_t i = 0; i < tiles.size(); ++i) {
        EXPECT_EQ(tiles[i].width(), area.width());
        if (i > 0) {
            EXPECT_EQ(tiles[i].top(), tiles[i - 1].bottom() + 1);
        }
    }
    EXPECT_EQ(tiles.back().bottom(), area.bottom());

    frame->Cascade();
    // Each window steps down and right of the one behind it, keeps more than a title bar, and
    // the most recently focused one ends in front.
    std::vector<QRect> cascade;
    for (QMdiSubWindow* window : frame->MDIClient()->subWindowList(QMdiArea::StackingOrder)) {
        cascade.push_back(window->geometry());
    }
    ASSERT_EQ(cascade.size(), 3u);
    for (std::size_t i = 1; i < cascade.size(); ++i) {
        EXPECT_GT(cascade[i].x(), cascade[i - 1].x());
        EXPECT_GT(cascade[i].y(), cascade[i - 1].y());
    }
    for (const QRect& window : cascade) {
        EXPECT_GT(window.height(), 60);
    }
    EXPECT_EQ(frame->MDIClient()->subWindowList(QMdiArea::StackingOrder).back(),
              frame->MDIChildren(0)->Frame());
}

TEST(TopLevelWindow, CloseHidesAndTheClientSizeAndColourComeFromTheDefinition) {
    TTestWindow window;
    EXPECT_EQ(window.ClientWidth(), 120);
    EXPECT_EQ(window.ClientHeight(), 90);
    window.Show();
    EXPECT_EQ(window.Shows, 1);
    EXPECT_TRUE(window.Visible());
    window.close();
    EXPECT_FALSE(window.Visible());
    window.Show();
    EXPECT_EQ(window.Shows, 2);

    // The client surface starts in the window's colour; drawings show on the next paint.
    EXPECT_EQ(window.Canvas().Pixel(0, 0), 0x0000FFu);
    window.Canvas().Brush.Color = RGB(0, 0, 255);
    window.Canvas().FillRect(Rect(10, 10, 20, 20));
    const QImage shown = window.grab().toImage();
    EXPECT_GE(window.Paints, 1);
    EXPECT_EQ(shown.pixelColor(15, 15), QColor(0, 0, 255));
    EXPECT_EQ(shown.pixelColor(5, 5), QColor(255, 0, 0));
}

// Parts shown on the client surface end on it as the same copies would, whatever happens to
// their source afterwards, and the window shows them before and after they are copied.
TEST(TopLevelWindow, ShownPartsEndOnTheSurfaceAsCopiesWould) {
    TTestWindow window;
    window.Show();
    TCanvas& canvas = window.Canvas();
    const TRect whole = Rect(0, 0, window.width(), window.height());
    TBitmap expected(whole.Right, whole.Bottom);
    expected.Canvas().CopyRect(whole, canvas, whole);
    std::mt19937 random(5);
    TBitmap source = test_support::RandomColours(random, 40, 30);
    const auto show = [&](TRect from, int x, int y) {
        window.ShowOnSurface(source, from, x, y);
        expected.Canvas().CopyRect(Rect(x, y, x + from.Width(), y + from.Height()), source.Canvas(),
                                   from);
    };
    show(Rect(5, 5, 25, 20), 10, 10);
    show(Rect(0, 0, 40, 30), 5, 5);                                // covers the first part
    show(Rect(0, 0, 40, 30), whole.Right - 30, whole.Bottom - 10); // past the surface's corner
    source.Canvas().Brush.Color = RGB(0, 255, 0);
    source.Canvas().FillRect(Rect(0, 0, 40, 30)); // after showing: the window keeps the old pixels

    QImage rendered(whole.Right, whole.Bottom, QImage::Format_RGB32);
    window.render(&rendered);
    for (int y = 0; y < whole.Bottom; ++y) {
        for (int x = 0; x < whole.Right; ++x) {
            const TColor c = expected.Pixel(x, y);
            ASSERT_EQ(rendered.pixel(x, y), qRgb(RedOf(c), GreenOf(c), BlueOf(c)))
                << "at (" << x << ", " << y << ")";
        }
    }
    TBitmap settled(whole.Right, whole.Bottom);
    settled.Canvas().CopyRect(whole, window.Canvas(), whole);
    EXPECT_EQ(test_support::FirstDifference(settled, expected), "");
}
