// The animation preview: composing on activation, the exact frames and what each tick draws and
// repaints, the toggle across deactivation, growing the window, doing nothing with fewer than
// three children, and Save of the last composed sheet (an empty file before any composition).
#include "app/Unit1.h"
#include "app/toolkit/Application.h"
#include "app/toolkit/ClientArea.h"
#include "fish/Unit9.h"
#include "raster/Bmp.h"
#include "shadow/Unit3.h"
#include "support/FishWorkspace.h"
#include "support/GuiTestSupport.h"

#include <QAction>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace gui_test;

namespace {
class AnimPreviewTest : public FishWorkspaceTest {
  protected:
    void Open(int width, int height, TRect fishAt) {
        picture = FishPicture(width, height);
        picture.Fish = fishAt;
        picture.SpotAt = QPoint(fishAt.Left + 1, fishAt.Top + 1);
        OpenWorkspace(WritePicture("fish.bmp", picture));
        anim = Anim();
        ASSERT_NE(anim, nullptr);
        RaiseEditor();
    }
    void Activate() {
        QTest::mouseClick(Fish()->SpeedButton3, Qt::LeftButton);
        ASSERT_EQ(Form1->ActiveMDIChild(), anim);
    }
    // Frame 1 or 2 from the sheet's quadrants: image AND that shadow quadrant.
    static TBitmap FrameOf(const TBitmap& sheet, int frame) {
        const int w = sheet.Width() / 2;
        const int h = sheet.Height() / 2;
        TBitmap result(w, h);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                result.SetPixel(x, y, sheet.Pixel(x, y) & sheet.Pixel((frame - 1) * w + x, h + y));
            }
        }
        return result;
    }
    // The client area's pixels just below the tool bar.
    TBitmap Shown(int w, int h) {
        TBitmap shown(w, h);
        shown.Canvas().CopyRect(Rect(0, 0, w, h), anim->Canvas(), Rect(0, 38, w, 38 + h));
        return shown;
    }
    void TearDown() override {
        CloseAllQuietly();
        FishWorkspaceTest::TearDown();
    }
    FishPicture picture{1, 1};
    TMDIAnim* anim = nullptr;
};
} // namespace

TEST_F(AnimPreviewTest, ActivationComposesBothFramesAndTicksAlternateThemStartingWithFrame2) {
    Open(60, 40, Rect(10, 5, 50, 35));
    Click(Fish()->Image1, QPoint(0, 0));
    Stroke(Shadow()->Image1, QPoint(40, 30), {QPoint(41, 30), QPoint(50, 32)});
    Stroke(Shadow()->Image2, QPoint(70, 40), {QPoint(71, 40)});
    TBitmap sheet;
    ASSERT_TRUE(MakeFishData(sheet));
    Activate();
    EXPECT_EQ(FirstDifference(*anim->SheetBitmap, sheet), "");
    const int w = sheet.Width() / 2;
    const int h = sheet.Height() / 2;
    const TBitmap frame1 = FrameOf(sheet, 1);
    const TBitmap frame2 = FrameOf(sheet, 2);
    ASSERT_NE(FirstDifference(frame1, frame2), "");
    TBitmap preview(2 * w, h);
    preview.Canvas().CopyRect(Rect(0, 0, w, h), frame1.Canvas(), Rect(0, 0, w, h));
    preview.Canvas().CopyRect(Rect(w, 0, 2 * w, h), frame2.Canvas(), Rect(0, 0, w, h));
    EXPECT_EQ(FirstDifference(*anim->PreviewBitmap, preview), "");
    EXPECT_FALSE(Form3->Visible());
    EXPECT_TRUE(anim->Timer1->Running());
    EXPECT_EQ(anim->Timer1->Interval(), 50);

    ASSERT_FALSE(anim->ShowFrame1);
    anim->Timer1Timer();
    EXPECT_EQ(FirstDifference(Shown(w, h), frame2), "");
    anim->Timer1Timer();
    EXPECT_EQ(FirstDifference(Shown(w, h), frame1), "");
    // The real timer ticks too.
    const bool before = anim->ShowFrame1;
    EXPECT_TRUE(QTest::qWaitFor([&] { return anim->ShowFrame1 != before; }, 2000));
}

namespace {
// The parts of a window its repaints covered.
class PaintRecorder : public QObject {
  public:
    QRegion Painted;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            Painted += static_cast<QPaintEvent*>(event)->region();
        }
        return false;
    }
};
} // namespace

TEST_F(AnimPreviewTest, ATickRepaintsOnlyItsFrameAndTheWindowShowsThatFrame) {
    Open(60, 40, Rect(10, 5, 50, 35));
    Click(Fish()->Image1, QPoint(0, 0));
    Stroke(Shadow()->Image2, QPoint(40, 30), {QPoint(41, 30), QPoint(50, 32)});
    Activate();
    anim->Timer1->SetInterval(0);
    RunPostedEvents();
    const TBitmap frame2 = FrameOf(*anim->SheetBitmap, 2);
    const int w = frame2.Width();
    const int h = frame2.Height();

    // The client surface is shown by the scrolling client area's content, which lies at the
    // window's own client coordinates while nothing is scrolled.
    QWidget* content = anim->ClientArea()->Content();
    PaintRecorder recorder;
    content->installEventFilter(&recorder);
    anim->Timer1Timer();
    RunPostedEvents();
    content->removeEventFilter(&recorder);
    EXPECT_EQ(recorder.Painted, QRegion(0, 38, w, h));

    // Rendered from the window itself, the part below the tool bar is the frame, pixel for pixel:
    // drawn straight from the preview into an image, then through a pixmap (which takes the
    // client surface's copy of the frame).
    QImage rendered(w, h, QImage::Format_RGB32);
    anim->render(&rendered, QPoint(), QRegion(0, 38, w, h));
    for (const QImage& shown : {rendered, anim->grab(QRect(0, 38, w, h)).toImage()}) {
        ASSERT_EQ(shown.size(), QSize(w, h));
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const QRgb pixel = shown.pixel(x, y);
                ASSERT_EQ(RGB(qRed(pixel), qGreen(pixel), qBlue(pixel)), frame2.Pixel(x, y))
                    << "at (" << x << ", " << y << ")";
            }
        }
    }
}

TEST_F(AnimPreviewTest, DeactivationFreezesTheToggleAndActivationResumesWhereItStood) {
    Open(40, 30, Rect(5, 5, 30, 20));
    Activate();
    anim->Timer1Timer(); // the toggle now names frame 1
    QTest::mouseClick(anim->SpeedButton2, Qt::LeftButton);
    EXPECT_EQ(Form1->ActiveMDIChild(), Fish());
    EXPECT_FALSE(anim->Timer1->Running());
    QTest::qWait(120);
    EXPECT_TRUE(anim->ShowFrame1);
    Activate();
    EXPECT_TRUE(anim->Timer1->Running());
    EXPECT_TRUE(anim->ShowFrame1);
}

TEST_F(AnimPreviewTest, ActivationGrowsTooSmallClientDimensionsToExactlyOneFrame) {
    Open(400, 300, Rect(0, 0, 400, 300));
    const int width = anim->ClientWidth();
    ASSERT_LT(width, 400);
    Activate();
    RunPostedEvents();
    EXPECT_EQ(anim->ClientWidth(), 400);
    EXPECT_EQ(anim->ClientHeight(), 300 + 38);
    CloseAllQuietly();

    Open(200, 400, Rect(0, 0, 100, 400));
    const int wide = anim->ClientWidth();
    ASSERT_GT(wide, 100);
    Activate();
    RunPostedEvents();
    EXPECT_EQ(anim->ClientWidth(), wide);
    EXPECT_EQ(anim->ClientHeight(), 400 + 38);
}

TEST_F(AnimPreviewTest, FewerThanThreeChildrenMeansNoActionAtAll) {
    Open(40, 30, Rect(5, 5, 30, 20));
    Fish()->Free();
    ASSERT_EQ(Form1->MDIChildCount(), 2);
    Shadow()->BringToFront();
    ASSERT_TRUE(Form3->Visible());
    const QSize size = anim->Frame()->size();
    QTest::mouseClick(Shadow()->SpeedButton3, Qt::LeftButton);
    EXPECT_EQ(Form1->ActiveMDIChild(), anim);
    EXPECT_TRUE(Form3->Visible());
    EXPECT_TRUE(anim->SheetBitmap->Empty());
    EXPECT_EQ(anim->Frame()->size(), size);
    EXPECT_FALSE(anim->Timer1->Running());
}

TEST_F(AnimPreviewTest, WithoutAFishWindowTheLastSheetStays) {
    Open(40, 30, Rect(5, 5, 30, 20));
    Activate();
    const TBitmap sheet = *anim->SheetBitmap;
    ASSERT_FALSE(sheet.Empty());
    Fish()->Free();
    new TMDIShadow(); // three children again, but no fish window among them
    anim->BringToFront();
    EXPECT_EQ(FirstDifference(*anim->SheetBitmap, sheet), "");
    EXPECT_TRUE(anim->Timer1->Running());
}

TEST_F(AnimPreviewTest, SaveWritesTheSheetOfTheLastActivationAsTheFishWindowWould) {
    Open(40, 30, Rect(5, 5, 30, 20));
    Stroke(Shadow()->Image1, QPoint(20, 20), {QPoint(21, 20)});
    Activate();
    dialogs.ExpectSave(Path("anim.bmp"));
    dialogs.ExpectInformation(kFinished);
    QTest::mouseClick(anim->SpeedButton1, Qt::LeftButton);
    EXPECT_TRUE(DataSaved);
    dialogs.ExpectSave(Path("fish.bmp.sheet"));
    dialogs.ExpectInformation(kFinished);
    Fish()->Save1->trigger();
    EXPECT_EQ(FileDifference(Path("anim.bmp"), Path("fish.bmp.sheet")), "");
}

TEST_F(AnimPreviewTest, SaveBeforeAnyCompositionWritesAnEmptyFile) {
    anim = new TMDIAnim();
    EXPECT_TRUE(anim->SheetBitmap->Empty());
    dialogs.ExpectSave(Path("empty.bmp"));
    dialogs.ExpectInformation(kFinished);
    anim->Save1->trigger();
    EXPECT_TRUE(FileExists(Path("empty.bmp")));
    EXPECT_TRUE(FileBytes(Path("empty.bmp")).empty());
    EXPECT_TRUE(DataSaved);
    // Ticks over the empty preview draw nothing and still flip the toggle (the window's own
    // timer may have ticked inside the dialogs, so the flip is measured from here).
    const bool before = anim->ShowFrame1;
    anim->Timer1Timer();
    EXPECT_NE(anim->ShowFrame1, before);
}
