// Room to work: child windows scroll their content under a fixed tool bar, the frame's work area
// scrolls to children beyond it, the view zoom follows the wheel and the keys around the pointer,
// picks and strokes after zooming and scrolling land on the pixel under the pointer, and the
// shadow editor's pointer shows the pen.
#include "accessory/Unit5.h"
#include "app/Unit1.h"
#include "app/toolkit/ClientArea.h"
#include "fish/SheetComposer.h"
#include "raster/Bmp.h"
#include "raster/ViewZoom.h"
#include "rotate/Unit8.h"
#include "shadow/Unit3.h"
#include "support/FishWorkspace.h"
#include "support/GuiTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>
#include <cmath>
#include <functional>

using namespace gui_test;

namespace {

// Notches of the wheel at `at` (a point of `control`), turned away from the user for negative
// `notches`, marked as coming from the window system.
void Wheel(QWidget* control, QPoint at, int notches, Qt::KeyboardModifiers modifiers = {}) {
    QWheelEvent event(QPointF(at), control->mapToGlobal(QPointF(at)), QPoint(),
                      QPoint(0, 120 * notches), Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&event);
    QApplication::sendEvent(control, &event);
}

// The picture pixel of `image` under a point of the client area's viewport.
QPoint PixelUnder(TImage* image, TClientArea* area, QPoint at) {
    const QPoint local = image->mapFrom(area->viewport(), at);
    return QPoint(PictureAt(local.x(), image->Zoom()), PictureAt(local.y(), image->Zoom()));
}

// The point of `image` that shows the middle of picture pixel `pixel`.
QPoint PointOf(TImage* image, QPoint pixel) {
    const int zoom = image->Zoom();
    return QPoint((ScreenAt(pixel.x(), zoom) + ScreenAt(pixel.x() + 1, zoom)) / 2,
                  (ScreenAt(pixel.y(), zoom) + ScreenAt(pixel.y() + 1, zoom)) / 2);
}

// How far the frame's work area is scrolled.
QPoint WorkScroll() {
    QMdiArea* work = Form1->MDIClient();
    return QPoint(work->horizontalScrollBar()->value(), work->verticalScrollBar()->value());
}

class ViewTest : public FishWorkspaceTest {
  protected:
    // Opens a rotation or accessory window through its tool-bar button on a picture of its own.
    TForm* OpenThrough(QPushButton* command, const std::string& name) {
        dialogs.ExpectOpen(WritePicture(name, FishPicture(120, 90, Rect(20, 20, 90, 70), {})));
        QTest::mouseClick(command, Qt::LeftButton);
        return Form1->ActiveMDIChild();
    }
    void OpenLarge(int width, int height) {
        picture = FishPicture(width, height);
        picture.Fish = Rect(width / 5, height / 5, width * 4 / 5, height * 4 / 5);
        picture.SpotAt = QPoint(width / 2 + 7, height / 2 + 5);
        OpenWorkspace(WritePicture("fish.bmp", picture));
        ASSERT_NE(Fish(), nullptr);
    }
    // Scrolls the frame's work area down until the window's title bar is above the view.
    static void ScrollTitleBarAway(TForm* window) {
        QScrollBar* down = Form1->MDIClient()->verticalScrollBar();
        down->setValue(down->value() + window->Frame()->geometry().top() + 30);
        ASSERT_LT(window->Frame()->geometry().top(), 0);
    }
    // Clicks the window where the view shows it, above every other window. The frame becomes the
    // active window first, as the window system makes it on a click in it.
    static void ClickAShownPart(TForm* window) {
        Form1->activateWindow();
        QApplication::processEvents();
        QWidget* view = Form1->MDIClient()->viewport();
        const QRect shown = window->Frame()->geometry() & view->rect();
        for (int y = shown.top(); y <= shown.bottom(); y += 5) {
            for (int x = shown.left(); x <= shown.right(); x += 5) {
                QWidget* hit = view->childAt(x, y);
                if (hit && window->Frame()->isAncestorOf(hit) && !hit->inherits("TImage")) {
                    QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(view, QPoint(x, y)));
                    return;
                }
            }
        }
        FAIL() << "no part of the window shows";
    }
    // Ctrl+Tab typed in the frame (the active window, as the user types in it), and Ctrl let go.
    static void CtrlTab(Qt::KeyboardModifiers more = {}) {
        Form1->activateWindow();
        QApplication::processEvents();
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyPress(focus, Qt::Key_Tab, Qt::ControlModifier | more);
        QTest::keyRelease(focus, Qt::Key_Control, Qt::NoModifier);
        RunPostedEvents();
    }
    void TearDown() override {
        CloseAllQuietly();
        FishWorkspaceTest::TearDown();
    }
    FishPicture picture{1, 1};
};

} // namespace

TEST_F(ViewTest, FishWindowScrollsItsPictureUnderAFixedToolBarByWheelAndShiftWheel) {
    OpenLarge(1500, 1000);
    TMDIFish* fish = Fish();
    TClientArea* area = fish->ClientArea();
    ASSERT_NE(area, nullptr);
    EXPECT_TRUE(area->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(area->verticalScrollBar()->isVisible());
    EXPECT_EQ(area->y(), fish->Panel1->height()) << "the area starts below the tool bar";

    Wheel(fish->Image1, QPoint(50, 50), -1);
    const int step = QApplication::wheelScrollLines() * area->verticalScrollBar()->singleStep();
    EXPECT_EQ(area->ScrollPosition(), QPoint(0, step));
    Wheel(fish->Image1, QPoint(50, 50), -2, Qt::ShiftModifier);
    EXPECT_EQ(area->ScrollPosition(), QPoint(2 * step, step));
    // The tool bar stays in place while the picture moves under it.
    EXPECT_EQ(fish->Panel1->pos(), QPoint(0, 0));
    EXPECT_EQ(fish->Image1->mapTo(fish, QPoint(0, 0)), QPoint(1 - 2 * step, 41 - step));
    EXPECT_EQ(fish->Image1->Left(), 1) << "the design place is kept";

    // Scrolled to the end, the picture's last pixel row and column are in view.
    area->ScrollTo(QPoint(1 << 20, 1 << 20));
    const QPoint corner =
        fish->Image1->mapFrom(area->viewport(), area->viewport()->rect().bottomRight());
    EXPECT_EQ(corner, QPoint(1499, 999));
}

TEST_F(ViewTest, CtrlWheelAndKeysZoomAroundThePointerAndAPickTakesThePixelUnderIt) {
    OpenLarge(1500, 1000);
    TMDIFish* fish = Fish();
    TClientArea* area = fish->ClientArea();
    area->ScrollTo(QPoint(400, 300));
    const QPoint at(150, 120); // a point of the viewport
    const QPoint before = PixelUnder(fish->Image1, area, at);

    Wheel(area->viewport(), at, 1, Qt::ControlModifier);
    EXPECT_EQ(area->Zoom(), 200);
    EXPECT_EQ(fish->Image1->Zoom(), 200);
    EXPECT_EQ(fish->Image1->size(), QSize(3000, 2000));
    EXPECT_EQ(PixelUnder(fish->Image1, area, at), before);
    for (int expected : {300, 400, 600}) {
        Wheel(fish->Image1, fish->Image1->mapFrom(area->viewport(), at), 1, Qt::ControlModifier);
        EXPECT_EQ(area->Zoom(), expected);
        EXPECT_EQ(PixelUnder(fish->Image1, area, at), before) << expected << "%";
    }
    Wheel(area->viewport(), at, -1, Qt::ControlModifier);
    EXPECT_EQ(area->Zoom(), 400);
    EXPECT_EQ(PixelUnder(fish->Image1, area, at), before);

    // The keys, with the focus on the area as a click in it leaves it.
    struct KeyCase {
        Qt::Key key;
        int zoom;
    };
    for (const KeyCase& c : {KeyCase{Qt::Key_Plus, 600}, KeyCase{Qt::Key_Equal, 800},
                             KeyCase{Qt::Key_Minus, 600}, KeyCase{Qt::Key_0, 100}}) {
        QTest::keyClick(area, c.key, Qt::ControlModifier);
        EXPECT_EQ(area->Zoom(), c.zoom) << QKeySequence(c.key).toString().toStdString();
    }
    for (int i = 0; i < 12; ++i) {
        QTest::keyClick(area, Qt::Key_Plus, Qt::ControlModifier);
    }
    EXPECT_EQ(area->Zoom(), 1600) << "the last step holds";
    for (int i = 0; i < 12; ++i) {
        QTest::keyClick(area, Qt::Key_Minus, Qt::ControlModifier);
    }
    EXPECT_EQ(area->Zoom(), 25);

    // At 800%, scrolled to the spot, a click picks exactly the spot's pixel, and one to its left
    // the body's.
    area->SetZoom(800);
    const QPoint spot =
        fish->Image1->mapTo(area->viewport(), PointOf(fish->Image1, picture.SpotAt));
    area->ScrollTo(area->ScrollPosition() + spot - QPoint(100, 80));
    const QPoint onSpot = PointOf(fish->Image1, picture.SpotAt);
    ASSERT_TRUE(area->viewport()->rect().contains(fish->Image1->mapTo(area->viewport(), onSpot)));
    Click(fish->Image1, onSpot);
    EXPECT_EQ(fish->Image2->Canvas().Pixel(5, 5), picture.Spot);
    Click(fish->Image1, onSpot - QPoint(8, 0));
    EXPECT_EQ(fish->Image2->Canvas().Pixel(5, 5), picture.Body);
}

TEST_F(ViewTest, StrokeAfterZoomAndScrollPaintsAndSavesAsTheSameStrokeAt100Percent) {
    // Wide enough for its views to reach past the editor's window at 100%.
    OpenLarge(600, 400);
    TMDIShadow* editor = Shadow();
    RaiseEditor();
    ASSERT_FALSE(editor->Zoomed);
    TClientArea* area = editor->ClientArea();
    EXPECT_TRUE(area->horizontalScrollBar()->isVisible()) << "view 2 reaches past the window";
    const QPoint view2At100 = editor->Image2->pos();

    const std::vector<QPoint> path = {QPoint(300, 200), QPoint(303, 201), QPoint(310, 206)};
    area->SetZoom(400);
    EXPECT_EQ(editor->Image2->pos(), QPoint(4 * view2At100.x(), view2At100.y()))
        << "the views stay side by side";
    // Scroll so that the stroke lies in view, then draw it with the pointer on those pixels.
    area->ScrollTo(editor->Image1->mapTo(area->Content(), PointOf(editor->Image1, path[0])) -
                   QPoint(200, 100 + area->y()));
    std::vector<QPoint> moves;
    for (const QPoint& pixel : path) {
        moves.push_back(PointOf(editor->Image1, pixel));
    }
    Stroke(editor->Image1, moves.front() - QPoint(1, 0), moves);
    TBitmap expected(600, 400);
    for (const QPoint& pixel : path) {
        StampDefaultPen(expected, pixel.x(), pixel.y());
    }
    EXPECT_EQ(FirstDifference(*editor->Image3->Picture().Bitmap(), expected), "");
    EXPECT_EQ(
        FirstDifference(*editor->Image1->Picture().Bitmap(), ViewOf(picture.Draw(), 1, expected)),
        "");

    dialogs.ExpectSave(Path("sheet.bmp"));
    dialogs.ExpectInformation(kFinished);
    QTest::mouseClick(editor->SpeedButton1, Qt::LeftButton);
    TBitmap sheet;
    ComposeFishSheet(picture.Draw(), clBlack, expected, TBitmap(600, 400), 1, sheet);
    EXPECT_EQ(FirstDifferingByte(FileBytes(Path("sheet.bmp")), EncodeBmp(sheet)), "");
}

TEST_F(ViewTest, ThePointerOverAViewShowsThePenOutlineInBlackAndWhiteFollowingTheSliders) {
    OpenLarge(200, 150);
    TMDIShadow* editor = Shadow();
    RaiseEditor();
    QApplication::processEvents();
    EXPECT_EQ(editor->Image1->PenOutline(), 19) << "default pen: h = 10, 2h - 1 across";
    Form3->ScrollBar1->setValue(30);
    QApplication::processEvents();
    EXPECT_EQ(editor->Image1->PenOutline(), 29);
    EXPECT_EQ(editor->Image2->PenOutline(), 29);

    editor->ClientArea()->SetZoom(800);
    const QPoint centre = PointOf(editor->Image1, QPoint(20, 15));
    Hover(editor->Image1, centre);
    const QImage shown =
        editor->Image1->grab(QRect(centre - QPoint(140, 140), QSize(280, 280))).toImage();
    // Along the row through the centre, a black and a white ring pixel about 29 * 8 / 2 = 116
    // screen pixels out on either side.
    int black = 0;
    int white = 0;
    for (int x = 0; x < shown.width(); ++x) {
        const int distance = std::abs(x - 140);
        if (distance < 110 || distance > 122) {
            continue;
        }
        const QRgb pixel = shown.pixel(x, 140);
        black += pixel == qRgb(0, 0, 0);
        white += pixel == qRgb(255, 255, 255);
    }
    EXPECT_EQ(black, 2);
    EXPECT_EQ(white, 2);
}

TEST_F(ViewTest, TheWheelPassesOnToTheWorkAreaAtAChildsEndAndShiftWheelOverItsBackground) {
    OpenLarge(1500, 1000);
    QMdiArea* work = Form1->MDIClient();
    TMDIFish* fish = Fish();
    TClientArea* area = fish->ClientArea();
    // The fish window reaches past the work area's corner, so the work area scrolls both ways.
    fish->SetBounds(work->viewport()->width() - 200, work->viewport()->height() - 150, 400, 300);
    RunPostedEvents();
    const QPoint end(area->horizontalScrollBar()->maximum(), area->verticalScrollBar()->maximum());
    struct WheelCase {
        const char* what;
        QPoint childAt;
        std::function<void()> turn;
        bool childMoves;
        QPoint workDirection;
    };
    const std::vector<WheelCase> cases = {
        {"over the picture with room below", QPoint(0, 0),
         [&] { Wheel(fish->Image1, QPoint(50, 50), -1); }, true, QPoint(0, 0)},
        {"over the picture at its bottom", end, [&] { Wheel(fish->Image1, QPoint(50, 50), -1); },
         false, QPoint(0, 1)},
        {"Shift over the picture at its right end", end,
         [&] { Wheel(fish->Image1, QPoint(50, 50), -1, Qt::ShiftModifier); }, false, QPoint(1, 0)},
        {"over the preview, which has nothing to scroll", QPoint(0, 0),
         [&] { Wheel(Anim()->ClientArea()->viewport(), QPoint(10, 10), -1); }, false, QPoint(0, 1)},
        {"Shift over the background", QPoint(0, 0),
         [&] { Wheel(work->viewport(), QPoint(5, 5), -1, Qt::ShiftModifier); }, false,
         QPoint(1, 0)},
    };
    for (const WheelCase& c : cases) {
        work->horizontalScrollBar()->setValue(0);
        work->verticalScrollBar()->setValue(0);
        area->ScrollTo(c.childAt);
        c.turn();
        EXPECT_EQ(area->ScrollPosition() != c.childAt, c.childMoves) << c.what;
        const QPoint moved = WorkScroll();
        EXPECT_EQ(QPoint(moved.x() > 0, moved.y() > 0), c.workDirection) << c.what;
    }
}

TEST_F(ViewTest, AWindowThatOpensOrIsActivatedIsScrolledIntoViewAtItsPlace) {
    ASSERT_EQ(Form1->size(), QSize(630, 420)) << "the default size";
    QMdiArea* work = Form1->MDIClient();
    TMDIAcc* accessory = nullptr;
    struct OpenCase {
        const char* what;
        std::function<TForm*()> open;
    };
    const std::vector<OpenCase> cases = {
        {"Fish Data",
         [&]() -> TForm* {
             OpenLarge(300, 200);
             return Fish();
         }},
        {"Rotate", [&] { return OpenThrough(Form1->BitBtn3, "sheet.bmp"); }},
        {"Accessory Data",
         [&] {
             accessory = qobject_cast<TMDIAcc*>(OpenThrough(Form1->BitBtn1, "rock.bmp"));
             return accessory;
         }},
        {"the shadow editor raised from the fish window",
         [&]() -> TForm* {
             Fish()->BringToFront();
             RunPostedEvents();
             RaiseEditor();
             return Shadow();
         }},
        {"a click on a part of the fish window that shows",
         [&]() -> TForm* {
             ScrollTitleBarAway(Fish());
             ClickAShownPart(Fish());
             return Fish();
         }},
        {"Ctrl+Tab",
         [&]() -> TForm* {
             // Ctrl+Tab goes to the next window, Ctrl+Shift+Tab back.
             TForm* before = Form1->ActiveMDIChild();
             CtrlTab();
             TForm* next = Form1->ActiveMDIChild();
             EXPECT_NE(next, before);
             CtrlTab(Qt::ShiftModifier);
             EXPECT_EQ(Form1->ActiveMDIChild(), before);
             ScrollTitleBarAway(next);
             CtrlTab();
             return next;
         }},
        {"a dropped file, taken to Rotate",
         [&] {
             dialogs.ExpectMenu({"Fish Data", "Rotate Fish Data", "Accessory Data"}, 1);
             EXPECT_TRUE(DropOnFrame(
                 Form1,
                 {WritePicture("dropped.bmp", FishPicture(120, 90, Rect(20, 20, 90, 70), {}))}));
             return Form1->ActiveMDIChild();
         }},
    };
    for (const OpenCase& c : cases) {
        TForm* window = c.open();
        ASSERT_EQ(Form1->ActiveMDIChild(), window) << c.what;
        const QPoint place(window->Left(), window->Top());
        RunPostedEvents();
        const QRect view = work->viewport()->rect();
        const QRect bounds = window->Frame()->geometry();
        EXPECT_TRUE(view.contains(bounds.topLeft())) << c.what << ": the title bar shows";
        EXPECT_EQ((bounds & view).size(), bounds.size().boundedTo(view.size())) << c.what;
        EXPECT_EQ(QPoint(window->Left(), window->Top()), place) << c.what << ": place kept";
    }
    ASSERT_NE(accessory, nullptr);
    accessory->BringToFront();
    RunPostedEvents();
    const QRect picture(accessory->Image2->mapTo(work->viewport(), QPoint(0, 0)),
                        accessory->Image2->size());
    EXPECT_TRUE(work->viewport()->rect().contains(picture)) << "the accessory picture shows";
}

TEST_F(ViewTest, ViewMenusFollowFileOrEditShowTheZoomAndTheirKeysWorkFromThePenWindow) {
    OpenLarge(300, 200);
    TForm* rotation = OpenThrough(Form1->BitBtn3, "sheet.bmp");
    TForm* accessory = OpenThrough(Form1->BitBtn1, "rock.bmp");
    using Names = std::vector<std::string>;
    // Where the View menu stands in each bar is pinned with each window's menus.
    for (TForm* window :
         {static_cast<TForm*>(Fish()), static_cast<TForm*>(Shadow()), rotation, accessory}) {
        const std::string caption = window->Caption();
        window->BringToFront();
        RunPostedEvents();
        auto* view = window->findChild<QMenu*>("View1");
        ASSERT_NE(view, nullptr) << caption;
        EXPECT_EQ(MenuTitles(view),
                  (Names{"Zoom: 100%", "-", "Zoom In", "Zoom Out", "Actual Size"}));
        const QList<QAction*> items = view->actions();
        EXPECT_EQ(items[2]->shortcuts(),
                  (QList<QKeySequence>{QKeySequence("Ctrl++"), QKeySequence("Ctrl+=")}));
        EXPECT_EQ(items[3]->shortcuts(), QList<QKeySequence>{QKeySequence("Ctrl+-")});
        EXPECT_EQ(items[4]->shortcuts(), QList<QKeySequence>{QKeySequence("Ctrl+0")});
        // Each zoom key, and where each item can act; the caption never shows the zoom.
        struct Step {
            Qt::Key key;
            int zoom;
        };
        const auto expectAt = [&](int zoom) {
            EXPECT_EQ(window->ClientArea()->Zoom(), zoom) << caption;
            EXPECT_EQ(items[0]->text().toStdString(), "Zoom: " + std::to_string(zoom) + "%");
            EXPECT_FALSE(items[0]->isEnabled());
            EXPECT_EQ(items[2]->isEnabled(), zoom < 1600) << caption << " " << zoom;
            EXPECT_EQ(items[3]->isEnabled(), zoom > 25) << caption << " " << zoom;
            EXPECT_EQ(items[4]->isEnabled(), zoom != 100) << caption << " " << zoom;
            EXPECT_EQ(window->Caption(), caption);
        };
        expectAt(100);
        for (const Step& step : {Step{Qt::Key_Plus, 200}, Step{Qt::Key_Equal, 300},
                                 Step{Qt::Key_Minus, 200}, Step{Qt::Key_0, 100}}) {
            QTest::keyClick(window, step.key, Qt::ControlModifier);
            expectAt(step.zoom);
        }
    }
    // At either end of the steps, the item that would go further is disabled.
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(accessory, Qt::Key_Minus, Qt::ControlModifier);
    }
    EXPECT_FALSE(accessory->findChild<QAction*>("ZoomOut1")->isEnabled());
    accessory->ClientArea()->SetZoom(1600);
    EXPECT_FALSE(accessory->findChild<QAction*>("ZoomIn1")->isEnabled());

    // The shadow editor's keys work while the pen settings window beside it has the focus.
    TMDIShadow* editor = Shadow();
    RaiseEditor();
    ASSERT_TRUE(Form3->isVisible());
    Form3->activateWindow();
    QTest::keyClick(Form3, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(editor->ClientArea()->Zoom(), 200) << "Ctrl++ in the pen window";
    QTest::keyClick(Form3, Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(editor->ClientArea()->Zoom(), 100) << "Ctrl+0 in the pen window";
}

TEST_F(ViewTest, ADragAt25PercentLeavesAWholeStrokeAsOneUndoStep) {
    OpenLarge(600, 400);
    TMDIShadow* editor = Shadow();
    RaiseEditor();
    TClientArea* area = editor->ClientArea();
    area->SetZoom(25);
    area->ScrollTo(QPoint(0, 0));
    // Screen moves of 20 pixels, each 80 picture pixels, across and then down and across.
    const std::vector<QPoint> moves = {QPoint(30, 20), QPoint(50, 20), QPoint(70, 20),
                                       QPoint(90, 40), QPoint(110, 60)};
    const QPoint press(10, 20);
    Stroke(editor->Image1, press, moves);
    const TBitmap shadow = *editor->Image3->Picture().Bitmap();

    // Every picture pixel along the drag's path lies within the pen's half-width (10) of a pixel
    // the pen darkened.
    const auto darkenedNear = [&](QPoint p) {
        for (int dy = -10; dy <= 10; ++dy) {
            for (int dx = -10; dx <= 10; ++dx) {
                const int x = p.x() + dx;
                const int y = p.y() + dy;
                if (dx * dx + dy * dy <= 100 && x >= 0 && y >= 0 && x < 600 && y < 400 &&
                    shadow.Canvas().Pixel(x, y) != clWhite) {
                    return true;
                }
            }
        }
        return false;
    };
    QPoint from(PictureAt(press.x(), 25), PictureAt(press.y(), 25));
    for (const QPoint& move : moves) {
        const QPoint to(PictureAt(move.x(), 25), PictureAt(move.y(), 25));
        const int steps = std::max(std::abs(to.x() - from.x()), std::abs(to.y() - from.y()));
        for (int i = 0; i <= steps; ++i) {
            const QPoint p(from.x() + (to.x() - from.x()) * i / steps,
                           from.y() + (to.y() - from.y()) * i / steps);
            ASSERT_TRUE(darkenedNear(p)) << "a gap at (" << p.x() << ", " << p.y() << ")";
        }
        from = to;
    }
    // The stamps in between belong to the stroke: one undo takes them all.
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(FirstDifference(*editor->Image3->Picture().Bitmap(), TBitmap(600, 400)), "");
}

TEST_F(ViewTest, ThePenOutlineFollowsThePointerWhenTheViewScrollsOrZoomsUnderIt) {
    OpenLarge(600, 400);
    TMDIShadow* editor = Shadow();
    RaiseEditor();
    TClientArea* area = editor->ClientArea();
    const QPoint at(120, 60); // a point of the viewport, held still
    Hover(editor->Image1, editor->Image1->mapFrom(area->viewport(), at));
    ASSERT_EQ(editor->Image1->PointerPixel(), PixelUnder(editor->Image1, area, at));
    struct MoveCase {
        const char* what;
        std::function<void()> move;
    };
    const std::vector<MoveCase> cases = {
        {"the wheel", [&] { Wheel(area->viewport(), at, -2); }},
        {"Shift + wheel", [&] { Wheel(area->viewport(), at, -1, Qt::ShiftModifier); }},
        {"Ctrl + wheel elsewhere",
         [&] { Wheel(area->viewport(), QPoint(5, 5), 1, Qt::ControlModifier); }},
        {"Ctrl+-", [&] { area->SetZoom(ZoomStepOut(area->Zoom()), QPoint(5, 5)); }},
    };
    for (const MoveCase& c : cases) {
        const QPoint before = PixelUnder(editor->Image1, area, at);
        c.move();
        const QPoint now = PixelUnder(editor->Image1, area, at);
        ASSERT_NE(now, before) << c.what << " moves the picture under the pointer";
        EXPECT_EQ(editor->Image1->PointerPixel(), now) << c.what;
    }
}

TEST_F(ViewTest, ThePreviewZoomsByCtrlWheelAndTheKeys) {
    OpenLarge(120, 80);
    TMDIAnim* anim = Anim();
    anim->BringToFront();
    RunPostedEvents();
    TClientArea* area = anim->ClientArea();
    Wheel(area->viewport(), QPoint(0, 0), 1, Qt::ControlModifier);
    ASSERT_EQ(area->Zoom(), 200);
    // A tick draws the frame; the window shows it doubled from the top-left corner of its area.
    anim->Timer1Timer();
    QApplication::processEvents();
    const QImage shown = area->viewport()->grab().toImage();
    const int p = anim->Panel1->height();
    for (const QPoint pixel : {QPoint(30, 20), QPoint(60, 40), QPoint(65, 44)}) {
        const QRgb expected = ToQColor(anim->Canvas().Pixel(pixel.x(), p + pixel.y())).rgb();
        EXPECT_EQ(shown.pixel(2 * pixel.x(), 2 * pixel.y()), expected);
        EXPECT_EQ(shown.pixel(2 * pixel.x() + 1, 2 * pixel.y() + 1), expected);
    }
    QTest::keyClick(anim, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(area->Zoom(), 100);
}
