// The shadow editor driven by real mouse strokes: exact pixels of the shadow surfaces and views
// for a zoomed, an unzoomed and a wide picture; erase; loading shadows back from sheets (odd sizes
// too); Save byte for byte against the composer; and its layout, hints and menus.
#include "app/Unit1.h"
#include "app/toolkit/Application.h"
#include "fish/SheetComposer.h"
#include "fish/Unit9.h"
#include "raster/Bmp.h"
#include "raster/Errors.h"
#include "shadow/Unit3.h"
#include "support/FishWorkspace.h"
#include "support/GuiTestSupport.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <cstdio>

using namespace gui_test;

namespace {
const TColor kGrey183 = RGB(183, 183, 183);
const TColor kGrey195 = RGB(195, 195, 195);

struct EditorCase {
    const char* name;
    int width;
    int height;
    int zoom;
};

// The case as the test's name ends and as a failure shows it.
void PrintTo(const EditorCase& c, std::ostream* out) {
    *out << c.name;
}

class ShadowEditorTest : public FishWorkspaceTest {
  protected:
    void Open(int width, int height) {
        picture = FishPicture(width, height);
        picture.Fish = Rect(width / 5, height / 5, width * 4 / 5, height * 4 / 5);
        picture.SpotAt = QPoint(width / 2, height / 2);
        OpenWorkspace(WritePicture("fish.bmp", picture));
        editor = Shadow();
        ASSERT_NE(editor, nullptr);
        RaiseEditor();
        zoom = editor->Zoomed ? 2 : 1;
        shadow1 = TBitmap(width * zoom, height * zoom);
        shadow2 = TBitmap(width * zoom, height * zoom);
    }
    // Both pairs against the independently stamped shadows.
    void ExpectPairs() {
        const TBitmap plain = picture.Draw();
        EXPECT_EQ(FirstDifference(*editor->Image3->Picture().Bitmap(), shadow1), "") << "shadow 1";
        EXPECT_EQ(FirstDifference(*editor->Image4->Picture().Bitmap(), shadow2), "") << "shadow 2";
        EXPECT_EQ(
            FirstDifference(*editor->Image1->Picture().Bitmap(), ViewOf(plain, zoom, shadow1)), "")
            << "view 1";
        EXPECT_EQ(
            FirstDifference(*editor->Image2->Picture().Bitmap(), ViewOf(plain, zoom, shadow2)), "")
            << "view 2";
    }
    // The sheet the composer makes from the picture and the expected shadows.
    ByteStore ExpectedSheet(TColor background) {
        TBitmap sheet;
        ComposeFishSheet(picture.Draw(), background, shadow1, shadow2, zoom, sheet);
        return EncodeBmp(sheet);
    }
    FishPicture picture{1, 1};
    TMDIShadow* editor = nullptr;
    int zoom = 1;
    TBitmap shadow1;
    TBitmap shadow2;
};

class StrokeTest : public ShadowEditorTest, public ::testing::WithParamInterface<EditorCase> {};
} // namespace

TEST_P(StrokeTest, StrokesAndTheStrokeAtTheOriginDarkenOnlyUnderThePen) {
    Open(GetParam().width, GetParam().height);
    // Press, then one move: one stamp at the move's position, none at the press.
    Stroke(editor->Image1, QPoint(39, 21), {QPoint(40, 21)});
    StampDefaultPen(shadow1, 40, 21);
    EXPECT_EQ(editor->Image3->Picture().Bitmap()->Pixel(40, 21), kGrey183);
    EXPECT_FALSE(DataSaved);
    // At (0, 0) only the stamp's lower-right part lands.
    Stroke(editor->Image2, QPoint(3, 3), {QPoint(0, 0)});
    StampDefaultPen(shadow2, 0, 0);
    ExpectPairs();
    CloseAllQuietly();
}

TEST_P(StrokeTest, CrossingStrokesCombineByAnd) {
    Open(GetParam().width, GetParam().height);
    Stroke(editor->Image1, QPoint(29, 20), {QPoint(30, 20)});
    ASSERT_EQ(editor->Image3->Picture().Bitmap()->Pixel(34, 20), kGrey195);
    // The second stamp lays its 195 ring over the first one's 183 centre: 0xB7 AND 0xC3 = 0x83.
    Stroke(editor->Image1, QPoint(25, 20), {QPoint(26, 20)});
    StampDefaultPen(shadow1, 30, 20);
    StampDefaultPen(shadow1, 26, 20);
    EXPECT_EQ(editor->Image3->Picture().Bitmap()->Pixel(30, 20), RGB(131, 131, 131));
    ExpectPairs();
    CloseAllQuietly();
}

TEST_P(StrokeTest, SaveWritesTheComposersSheetForThePaintedShadowsAndPickedBackground) {
    Open(GetParam().width, GetParam().height);
    Click(Fish()->Image1, QPoint(0, 0));
    Stroke(editor->Image1, QPoint(20, 15), {QPoint(21, 15), QPoint(24, 17), QPoint(30, 19)});
    Stroke(editor->Image2, QPoint(35, 12), {QPoint(36, 12), QPoint(36, 20)});
    for (const QPoint p : {QPoint(21, 15), QPoint(24, 17), QPoint(30, 19)}) {
        StampDefaultPen(shadow1, p.x(), p.y());
    }
    StampDefaultPen(shadow2, 36, 12);
    StampDefaultPen(shadow2, 36, 20);
    ExpectPairs();
    dialogs.ExpectSave(Path("sheet.bmp"));
    dialogs.ExpectInformation(kFinished);
    QTest::mouseClick(editor->SpeedButton1, Qt::LeftButton);
    EXPECT_EQ(FirstDifferingByte(FileBytes(Path("sheet.bmp")), ExpectedSheet(picture.Background)),
              "");
    EXPECT_TRUE(DataSaved);
    CloseAllQuietly();
}

INSTANTIATE_TEST_SUITE_P(Pictures, StrokeTest,
                         ::testing::Values(EditorCase{"zoomed", 60, 40, 2},
                                           EditorCase{"unzoomed", 160, 100, 1},
                                           EditorCase{"wide", 100, 40, 2}),
                         ::testing::PrintToStringParamName());

TEST_F(ShadowEditorTest, MovingWithoutAPressOrAfterTheReleasePaintsNothing) {
    Open(60, 40);
    Hover(editor->Image1, QPoint(10, 10));
    Click(editor->Image1, QPoint(12, 12));
    Hover(editor->Image1, QPoint(14, 14));
    ExpectPairs();
    EXPECT_FALSE(DataSaved);
    CloseAllQuietly();
}

TEST_F(ShadowEditorTest, EraseRestoresThePlainViewsAndWhiteShadowsWhichSaveWrites) {
    Open(60, 40);
    Stroke(editor->Image1, QPoint(20, 20), {QPoint(21, 20)});
    Stroke(editor->Image2, QPoint(20, 20), {QPoint(21, 20)});
    DataSaved = true;
    QTest::mouseClick(editor->SpeedButton4, Qt::LeftButton);
    ExpectPairs();
    EXPECT_TRUE(DataSaved);
    dialogs.ExpectSave(Path("sheet.bmp"));
    dialogs.ExpectInformation(kFinished);
    editor->Save1->trigger();
    EXPECT_EQ(FirstDifferingByte(FileBytes(Path("sheet.bmp")), ExpectedSheet(clBlack)), "");
    CloseAllQuietly();
}

TEST_F(ShadowEditorTest, LoadingASheetOfAFishThatFillsItsPictureGivesTheShadowsBack) {
    // A fish touching all four edges: its box is the whole picture.
    for (const auto& [w, h] : {std::pair{60, 40}, std::pair{160, 100}}) {
        SCOPED_TRACE(std::to_string(w));
        picture = FishPicture(w, h);
        picture.Fish = Rect(0, 0, w, h);
        picture.SpotAt = QPoint(0, 0);
        OpenWorkspace(WritePicture("full.bmp", picture));
        editor = Shadow();
        zoom = editor->Zoomed ? 2 : 1;
        shadow1 = TBitmap(w * zoom, h * zoom);
        shadow2 = TBitmap(w * zoom, h * zoom);
        // Pixel-sized blocks survive the composer's halving and the load's doubling exactly.
        TBitmap grey1(w, h);
        TBitmap grey2(w, h);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const int a = (x * 7 + y * 3) % 256;
                const int b = (x * 5 + y * 11) % 256;
                grey1.SetPixel(x, y, RGB(a, a, a));
                grey2.SetPixel(x, y, RGB(b, b, b));
                for (int j = 0; j < zoom * zoom; ++j) {
                    shadow1.SetPixel(x * zoom + j % zoom, y * zoom + j / zoom, RGB(a, a, a));
                    shadow2.SetPixel(x * zoom + j % zoom, y * zoom + j / zoom, RGB(b, b, b));
                }
            }
        }
        TBitmap sheet(2 * w, 2 * h);
        sheet.Canvas().CopyRect(Rect(0, h, w, 2 * h), grey1.Canvas(), Rect(0, 0, w, h));
        sheet.Canvas().CopyRect(Rect(w, h, 2 * w, 2 * h), grey2.Canvas(), Rect(0, 0, w, h));
        DataSaved = false;
        dialogs.ExpectOpen(Write("sheet.bmp", sheet));
        QTest::mouseClick(editor->SpeedButton5, Qt::LeftButton);
        ExpectPairs();
        EXPECT_FALSE(DataSaved);
        CloseAllQuietly();
    }
}

TEST_F(ShadowEditorTest, OddSheetQuadrantsAreSplitAtHalfTheSizeRoundedDown) {
    Open(60, 40); // shadows 120 x 80
    // A 7 x 5 sheet: the first shadow quadrant is columns 0..2 of rows 2..4, the second 3..6.
    TBitmap sheet(7, 5);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x) {
            const int v = 10 * x + y;
            sheet.SetPixel(x, y, RGB(v, v, v));
        }
    }
    dialogs.ExpectOpen(Write("odd.bmp", sheet));
    QTest::mouseClick(editor->SpeedButton5, Qt::LeftButton);
    TBitmap first(3, 3);
    first.Canvas().CopyRect(Rect(0, 0, 3, 3), sheet.Canvas(), Rect(0, 2, 3, 5));
    TBitmap second(4, 3);
    second.Canvas().CopyRect(Rect(0, 0, 4, 3), sheet.Canvas(), Rect(3, 2, 7, 5));
    shadow1.Canvas().CopyRect(Rect(0, 0, 120, 80), first.Canvas(), Rect(0, 0, 3, 3));
    shadow2.Canvas().CopyRect(Rect(0, 0, 120, 80), second.Canvas(), Rect(0, 0, 4, 3));
    // Spot checks that the quadrants really are the ones named above.
    EXPECT_EQ(editor->Image3->Picture().Bitmap()->Pixel(0, 0), RGB(2, 2, 2));
    EXPECT_EQ(editor->Image4->Picture().Bitmap()->Pixel(0, 0), RGB(32, 32, 32));
    EXPECT_EQ(editor->Image4->Picture().Bitmap()->Pixel(119, 79), RGB(64, 64, 64));
    ExpectPairs();
    CloseAllQuietly();
}

TEST_F(ShadowEditorTest, CancelledOrUnreadableLoadChangesNothing) {
    Open(60, 40);
    Stroke(editor->Image1, QPoint(20, 20), {QPoint(21, 20)});
    StampDefaultPen(shadow1, 21, 20);
    dialogs.ExpectOpen(std::nullopt);
    QTest::mouseClick(editor->SpeedButton5, Qt::LeftButton);
    const std::string broken = Path("broken.bmp");
    Write("broken.bmp", TBitmap(2, 2));
    {
        std::FILE* file = std::fopen(broken.c_str(), "r+b");
        ASSERT_NE(file, nullptr);
        std::fputs("XX", file); // no longer a BMP signature
        std::fclose(file);
    }
    dialogs.ExpectOpen(broken);
    dialogs.ExpectError(ErrorBoxText(EInvalidGraphic().what()));
    QTest::mouseClick(editor->SpeedButton5, Qt::LeftButton);
    ExpectPairs();
    CloseAllQuietly();
}

TEST_F(ShadowEditorTest, ButtonsAndMenusRaiseTheOtherWorkspaceWindows) {
    Open(60, 40);
    QTest::mouseClick(Fish()->SpeedButton2, Qt::LeftButton);
    EXPECT_EQ(Form1->ActiveMDIChild(), editor);
    EXPECT_TRUE(Form3->Visible());
    QTest::mouseClick(editor->SpeedButton3, Qt::LeftButton);
    EXPECT_EQ(Form1->ActiveMDIChild(), Anim());
    EXPECT_FALSE(Form3->Visible());
    Anim()->ShadowPattern1->trigger();
    EXPECT_EQ(Form1->ActiveMDIChild(), editor);
    editor->MaskPattern1->trigger();
    EXPECT_EQ(Form1->ActiveMDIChild(), Fish());
    EXPECT_FALSE(Form3->Visible());
    QTest::mouseClick(Anim()->SpeedButton3, Qt::LeftButton);
    EXPECT_EQ(Form1->ActiveMDIChild(), editor);
    QTest::mouseClick(Anim()->SpeedButton2, Qt::LeftButton);
    EXPECT_EQ(Form1->ActiveMDIChild(), Fish());
    Fish()->Animation1->trigger();
    EXPECT_EQ(Form1->ActiveMDIChild(), Anim());
    editor->Animation1->trigger();
    EXPECT_EQ(Form1->ActiveMDIChild(), Anim());
    QTest::mouseClick(editor->SpeedButton2, Qt::LeftButton);
    EXPECT_EQ(Form1->ActiveMDIChild(), Fish());
    CloseAllQuietly();
}
