// Room to work: child windows scroll their content under a fixed tool bar, the frame's work area
// scrolls to children beyond it, the view zoom follows the wheel and the keys around the pointer,
// picks and strokes after zooming and scrolling land on the pixel under the pointer, and the
// shadow editor's pointer shows the pen.
#include "app/Unit1.h"
#include "app/toolkit/ClientArea.h"
#include "fish/SheetComposer.h"
#include "raster/Bmp.h"
#include "raster/ViewZoom.h"
#include "shadow/Unit3.h"
#include "support/FishWorkspace.h"
#include "support/GuiTestSupport.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>

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

class ViewTest : public FishWorkspaceTest {
  protected:
    void OpenLarge(int width, int height) {
        picture = FishPicture(width, height);
        picture.Fish = Rect(width / 5, height / 5, width * 4 / 5, height * 4 / 5);
        picture.SpotAt = QPoint(width / 2 + 7, height / 2 + 5);
        OpenWorkspace(WritePicture("fish.bmp", picture));
        ASSERT_NE(Fish(), nullptr);
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

TEST_F(ViewTest, TheWorkAreaScrollsToChildrenBeyondTheFrame) {
    OpenLarge(100, 80);
    QMdiArea* work = Form1->MDIClient();
    QApplication::processEvents();
    Fish()->SetBounds(work->viewport()->width() + 100, work->viewport()->height() + 50, 300, 200);
    QApplication::processEvents();
    EXPECT_TRUE(work->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(work->verticalScrollBar()->isVisible());
}
