// The shadow editor's undo history (exact pixels back and forth through strokes and whole steps,
// the redo steps a new step drops, its limits) and the shadows loaded back in place.
#include "shadow/PenStamp.h"
#include "shadow/ShadowHistory.h"
#include "shadow/ShadowPaint.h"
#include "shadow/ShadowsInPlace.h"

#include "tests/support/Surfaces.h"

#include <gtest/gtest.h>

using namespace test_support;

namespace {

// The editor's four surfaces: views 1 and 2 over a random picture, shadows 1 and 2 white.
struct Editor {
    Editor(int width, int height, std::mt19937& random)
        : view1(RandomColours(random, width, height)), view2(view1), shadow1(width, height),
          shadow2(width, height) {
        stamp = TBitmap(50, 50);
        DrawPenStamp(stamp.Canvas(), PenSettings{kPenWidthMax, 30, kDensityMax});
    }
    HistorySurfaces Surfaces() { return {&view1, &view2, &shadow1, &shadow2}; }
    std::array<TBitmap, 4> Copies() const {
        // Deep copies: the history draws on the originals.
        std::array<TBitmap, 4> copies;
        const TBitmap* from[] = {&view1, &view2, &shadow1, &shadow2};
        for (int i = 0; i < 4; ++i) {
            copies[i] = TBitmap(from[i]->Width(), from[i]->Height());
            copies[i].Canvas().CopyRect(Rect(0, 0, copies[i].Width(), copies[i].Height()),
                                        from[i]->Canvas(),
                                        Rect(0, 0, copies[i].Width(), copies[i].Height()));
        }
        return copies;
    }
    void Expect(const std::array<TBitmap, 4>& state, const std::string& when) const {
        const TBitmap* now[] = {&view1, &view2, &shadow1, &shadow2};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(FirstDifference(*now[i], state[i]), "") << when << ", surface " << i;
        }
    }
    // A recorded stroke through `points` on pair 0 or 1, as the editor paints it.
    void Stroke(ShadowHistory& history, int pair, const std::vector<std::pair<int, int>>& points) {
        TBitmap& view = pair == 0 ? view1 : view2;
        TBitmap& shadow = pair == 0 ? shadow1 : shadow2;
        history.BeginStroke(Surfaces());
        for (const auto& [x, y] : points) {
            const TRect square = PaintSquare(penWidth, x, y);
            history.Touch(pair, square);
            history.Touch(2 + pair, square);
            PaintShadowStep(stamp.Canvas(), penWidth, x, y, shadow, view);
        }
        history.EndStep();
    }
    // A recorded whole step: `rect` of view 1 and of shadow 2 filled with `colour`.
    void Whole(ShadowHistory& history, const TRect& rect, TColor colour) {
        history.BeginWholeStep(Surfaces());
        shadow2.Canvas().Brush.Color = colour;
        shadow2.Canvas().FillRect(rect);
        view1.Canvas().Brush.Color = colour;
        view1.Canvas().FillRect(rect);
        history.EndStep();
    }
    TBitmap view1, view2, shadow1, shadow2, stamp;
    int penWidth = kPenWidthMax;
};

std::vector<std::pair<int, int>> Line(int x0, int y0, int x1, int y1, int steps) {
    std::vector<std::pair<int, int>> points;
    for (int i = 0; i <= steps; ++i) {
        points.emplace_back(x0 + (x1 - x0) * i / steps, y0 + (y1 - y0) * i / steps);
    }
    return points;
}

struct HistoryCase {
    const char* name;
    int width;
    int height;
};

class HistorySizes : public ::testing::TestWithParam<HistoryCase> {};

} // namespace

TEST_P(HistorySizes, UndoAndRedoGiveBackEveryStepsPixelsExactly) {
    std::mt19937 random(7);
    const int w = GetParam().width;
    const int h = GetParam().height;
    Editor editor(w, h, random);
    ShadowHistory history;
    std::vector<std::array<TBitmap, 4>> states{editor.Copies()};
    // Strokes across tile borders and over the edges, a crossing stroke, and whole steps.
    editor.Stroke(history, 0, Line(-10, h / 2, w + 10, h / 3, 40));
    states.push_back(editor.Copies());
    editor.Stroke(history, 1, Line(w - 1, h - 1, 0, 0, 30));
    states.push_back(editor.Copies());
    editor.Whole(history, Rect(w / 3, 0, w, h / 2), RGB(10, 200, 30));
    states.push_back(editor.Copies());
    editor.Stroke(history, 1, Line(w / 2, 0, w / 2, h - 1, 25));
    states.push_back(editor.Copies());
    ASSERT_EQ(history.UndoSteps(), 4u);

    for (int step = 4; step > 0; --step) {
        ASSERT_TRUE(history.Undo(editor.Surfaces()));
        editor.Expect(states[step - 1], "undo to " + std::to_string(step - 1));
    }
    EXPECT_FALSE(history.Undo(editor.Surfaces()));
    for (int step = 1; step <= 4; ++step) {
        ASSERT_TRUE(history.Redo(editor.Surfaces()));
        editor.Expect(states[step], "redo to " + std::to_string(step));
    }
    EXPECT_FALSE(history.Redo(editor.Surfaces()));
}

INSTANTIATE_TEST_SUITE_P(Surfaces, HistorySizes,
                         ::testing::Values(HistoryCase{"tiny", 7, 5},
                                           HistoryCase{"ragged_tiles", 150, 70},
                                           HistoryCase{"large", 600, 400}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ShadowHistory, ANewStepAfterAnUndoDropsTheRedoButAStepThatChangedNothingDoesNot) {
    std::mt19937 random(3);
    Editor editor(100, 80, random);
    ShadowHistory history;
    editor.Stroke(history, 0, Line(10, 10, 60, 40, 10));
    editor.Stroke(history, 1, Line(20, 70, 90, 10, 10));
    ASSERT_TRUE(history.Undo(editor.Surfaces()));
    // A press and release without a move, and a pen too narrow to paint, change nothing.
    editor.Stroke(history, 0, {});
    editor.penWidth = 1;
    editor.Stroke(history, 0, Line(10, 10, 60, 40, 10));
    EXPECT_TRUE(history.CanRedo());
    EXPECT_EQ(history.UndoSteps(), 1u);

    editor.Whole(history, Rect(0, 0, 100, 80), RGB(1, 2, 3));
    EXPECT_EQ(history.UndoSteps(), 2u);
    EXPECT_FALSE(history.CanRedo());
    const std::array<TBitmap, 4> filled = editor.Copies();
    editor.Whole(history, Rect(0, 0, 100, 80), RGB(1, 2, 3)); // the same fill again: no step
    EXPECT_EQ(history.UndoSteps(), 2u);
    ASSERT_TRUE(history.Undo(editor.Surfaces()));
    ASSERT_TRUE(history.Redo(editor.Surfaces()));
    editor.Expect(filled, "after undo and redo of the fill");
}

TEST(ShadowHistory, KeepsOnlyTheTilesAStrokeChanged) {
    std::mt19937 random(5);
    Editor editor(2048, 2048, random);
    ShadowHistory history;
    // Corner to corner: the bounding box is the whole picture, the tiles a band along it.
    editor.Stroke(history, 0, Line(0, 0, 2047, 2047, 500));
    const std::size_t surfaceBytes = std::size_t{2048} * 2048 * 4;
    EXPECT_GT(history.Bytes(), 0u);
    EXPECT_LT(history.Bytes(), surfaceBytes / 4) << "two surfaces touched along one diagonal";
}

TEST(ShadowHistory, DropsTheOldestStepsBeyondTheStepAndMemoryLimits) {
    std::mt19937 random(9);
    Editor editor(200, 100, random);
    ShadowHistory history(HistoryLimits{3, std::size_t{1} << 30});
    std::vector<std::array<TBitmap, 4>> states{editor.Copies()};
    for (int i = 0; i < 5; ++i) {
        editor.Stroke(history, i % 2, Line(10 + 30 * i, 10, 20 + 30 * i, 90, 8));
        states.push_back(editor.Copies());
    }
    EXPECT_EQ(history.UndoSteps(), 3u);
    while (history.Undo(editor.Surfaces())) {
    }
    editor.Expect(states[2], "the oldest step kept undone");

    // Undone steps survive a lower step limit as long as steps before them can go first.
    history.SetLimits(HistoryLimits{1, std::size_t{1} << 30});
    EXPECT_EQ(history.RedoSteps(), 1u);
    ASSERT_TRUE(history.Redo(editor.Surfaces()));
    editor.Expect(states[3], "the next step redone");

    // A step larger than the memory limit empties the history rather than leave a gap.
    history.SetLimits(HistoryLimits{200, 64 * 1024});
    editor.Stroke(history, 0, Line(5, 50, 195, 50, 40));
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.CanRedo());
    EXPECT_EQ(history.Bytes(), 0u);
    editor.Whole(history, Rect(0, 0, 200, 100), RGB(1, 2, 3));
    EXPECT_FALSE(history.CanUndo());
}

TEST(ShadowHistory, UndoEndsAStrokeStillBeingRecordedAndRefusesSurfacesOfAnotherSize) {
    std::mt19937 random(11);
    Editor editor(90, 60, random);
    ShadowHistory history;
    const std::array<TBitmap, 4> before = editor.Copies();
    history.BeginStroke(editor.Surfaces());
    history.Touch(0, PaintSquare(50, 30, 30));
    history.Touch(2, PaintSquare(50, 30, 30));
    PaintShadowStep(editor.stamp.Canvas(), 50, 30, 30, editor.shadow1, editor.view1);
    ASSERT_TRUE(history.Undo(editor.Surfaces()));
    EXPECT_FALSE(history.Recording());
    editor.Expect(before, "undone mid-stroke");

    ASSERT_TRUE(history.CanRedo());
    editor.shadow2.SetWidth(91);
    EXPECT_FALSE(history.Redo(editor.Surfaces()));
    EXPECT_FALSE(history.CanRedo());
}

// --- Shadows loaded back in place -----------------------------------------------------------

TEST(PlaceSheet, ComposingAgainGivesAnOddSheetsZoomedShadowQuadrantsBack) {
    std::mt19937 random(13);
    const int zoom = 2;
    // A fish in the middle of a 40 x 30 picture: box (9, 6) to (30, 20), 22 x 15.
    TBitmap picture(40, 30, clWhite);
    picture.Canvas().Brush.Color = RGB(200, 30, 30);
    picture.Canvas().FillRect(Rect(9, 6, 31, 21));
    const FishBoundingBox box = FindFishBox(picture, clWhite);
    ASSERT_EQ(box, (FishBoundingBox{9, 6, 30, 20}));

    TBitmap sheet =
        RandomPicture(random, 45, 31, {RGB(0, 0, 0), RGB(90, 90, 90), RGB(200, 200, 200)});
    TBitmap shadow1 = RandomColours(random, 40 * zoom, 30 * zoom);
    TBitmap shadow2 = RandomColours(random, 40 * zoom, 30 * zoom);
    PlaceSheetShadows(sheet, box, zoom, shadow1, shadow2);
    EXPECT_EQ(shadow1.Pixel(0, 0), clWhite);
    EXPECT_EQ(shadow2.Pixel(40 * zoom - 1, 30 * zoom - 1), clWhite);
    EXPECT_EQ(shadow1.Pixel(9 * zoom + zoom - 1, 6 * zoom + zoom - 1), sheet.Pixel(0, 15));
    EXPECT_EQ(shadow2.Pixel(9 * zoom, 6 * zoom), sheet.Pixel(22, 15));

    TBitmap composed;
    ComposeFishSheet(picture, clWhite, shadow1, shadow2, zoom, composed);
    for (int y = 15; y < 30; ++y) {
        for (int x = 0; x < 44; ++x) {
            ASSERT_EQ(composed.Pixel(x, y), sheet.Pixel(x, y)) << x << ", " << y;
        }
    }
}

TEST(PlaceSheet, ASheetOfAnotherSizeOrAPictureWithoutFishChangesNothing) {
    std::mt19937 random(17);
    const FishBoundingBox box{9, 6, 30, 20};
    TBitmap shadow = RandomColours(random, 40, 30);
    TBitmap other = RandomColours(random, 40, 30);
    const TBitmap before1 = shadow;
    const TBitmap before2 = other;
    for (const TBitmap& sheet : {TBitmap(46, 30), TBitmap(44, 32), TBitmap(22, 15)}) {
        EXPECT_FALSE(SheetFitsFish(sheet, box));
        // With the background nowhere on the picture's border, the message asks about it.
        for (const bool onBorder : {true, false}) {
            try {
                PlaceSheetShadows(sheet, box, 1, shadow, other, onBorder);
                ADD_FAILURE() << "no error for " << sheet.Width() << " x " << sheet.Height();
            } catch (const ESheetDoesNotFitFish& error) {
                EXPECT_STREQ(error.what(), onBorder ? msg::kSheetDoesNotFitFish
                                                    : msg::kSheetDoesNotFitFishPickBackground);
            }
        }
    }
    EXPECT_TRUE(shadow.SharesPixelsWith(before1) && other.SharesPixelsWith(before2));
    // No fish: the 1 x 1 box of nothing found fits no sheet, not even a 2 x 2 one.
    EXPECT_FALSE(SheetFitsFish(TBitmap(2, 2), FishBoundingBox{}));
    EXPECT_TRUE(SheetFitsFish(TBitmap(45, 31), box));
}

TEST(PlaceSheet, AColourIsOnTheBorderWhenAnyOutermostPixelHasIt) {
    const TColor background = RGB(0, 0, 200);
    struct BorderCase {
        const char* what;
        int x, y;
        bool found;
    };
    for (const BorderCase& c :
         {BorderCase{"top row", 7, 0, true}, BorderCase{"bottom row", 3, 9, true},
          BorderCase{"left column", 0, 5, true}, BorderCase{"right column", 11, 4, true},
          BorderCase{"inside only", 5, 5, false}}) {
        TBitmap picture(12, 10, RGB(250, 140, 20));
        picture.SetPixel(c.x, c.y, background);
        EXPECT_EQ(ColourOnBorder(picture, background), c.found) << c.what;
    }
}
