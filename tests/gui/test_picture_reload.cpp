// Windows following their picture files: a fish workspace whose picture is saved over by rename,
// in place on a larger canvas and in two steps, rotation windows on one changing sheet, and
// Reload Picture by its key with no change noticed.
#include "accessory/Unit5.h"
#include "app/Messages.h"
#include "app/Unit1.h"
#include "app/toolkit/FileWatch.h"
#include "fish/Unit9.h"
#include "raster/Bmp.h"
#include "rotate/RotationTransform.h"
#include "rotate/Unit8.h"
#include "support/DataWindowTest.h"
#include "support/FileChanges.h"
#include "support/FishWorkspace.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <filesystem>

using namespace gui_test;

namespace {

// The fish of the first picture, zoomed in the editor, and the same fish in other colours.
const FishPicture kFirst(120, 90, Rect(30, 20, 90, 70), QPoint(60, 45));
FishPicture Recoloured(FishPicture picture) {
    picture.Body = RGB(200, 40, 160);
    picture.Spot = RGB(255, 255, 0);
    return picture;
}

TBitmap Part(const TBitmap& sheet, const TRect& rect) {
    TBitmap part(rect.Right - rect.Left, rect.Bottom - rect.Top);
    part.Canvas().CopyRect(Rect(0, 0, part.Width(), part.Height()), sheet.Canvas(), rect);
    return part;
}
TBitmap TopHalf(const TBitmap& s) {
    return Part(s, Rect(0, 0, s.Width(), s.Height() / 2));
}
TBitmap BottomHalf(const TBitmap& s) {
    return Part(s, Rect(0, s.Height() / 2, s.Width(), s.Height()));
}

class PictureReloadTest : public FishWorkspaceTest {
  protected:
    std::string SaveSheet(const std::string& name) {
        dialogs.ExpectSave(Path(name));
        dialogs.ExpectInformation(kFinished);
        QTest::mouseClick(Fish()->SpeedButton1, Qt::LeftButton);
        return Path(name);
    }
    template <class W> W* OpenThrough(QPushButton* command, const std::string& path) {
        dialogs.ExpectOpen(path);
        QTest::mouseClick(command, Qt::LeftButton);
        return qobject_cast<W*>(Form1->ActiveMDIChild());
    }
};

struct SaveOver {
    const char* how;
    FishPicture next;
    // Saves `picture` over `path`; `old` is what the fish window must show meanwhile.
    std::function<void(const std::string& path, const TBitmap& picture, const TBitmap& old)> save;
    bool historyKept; // the same size keeps the undo history
};

class WorkspaceFollowTest : public PictureReloadTest,
                            public ::testing::WithParamInterface<SaveOver> {};

} // namespace

TEST_P(WorkspaceFollowTest, FishWindowFollowsWithTheBackgroundAndEveryShadowPixelKept) {
    const SaveOver& change = GetParam();
    const std::string path = WritePicture("fish.bmp", kFirst);
    OpenWorkspace(path);
    Click(Fish()->Image1, QPoint(0, 0));
    const TColor background = kFirst.Background;
    RaiseEditor();
    TMDIShadow* editor = Shadow();
    Stroke(editor->Image1, QPoint(80, 60), {QPoint(100, 70), QPoint(120, 80)});
    Stroke(editor->Image2, QPoint(150, 120), {QPoint(130, 110)});
    const TBitmap before = ReadBmpFile(SaveSheet("before.bmp"));

    const TBitmap next = change.next.Draw();
    change.save(path, next, kFirst.Draw());
    ASSERT_TRUE(WaitFor([&] { return Shows(Fish()->Image1, next); })) << change.how;

    EXPECT_EQ(Fish()->Image2->Canvas().Pixel(5, 5), background);
    EXPECT_FALSE(DataSaved);
    EXPECT_EQ(editor->Undo1->isEnabled(), change.historyKept);
    const int zoom = ZoomFactorFor(next.Width(), next.Height());
    EXPECT_TRUE(Shows(editor->Image2, ViewOf(next, zoom, *editor->Image4->Picture().Bitmap())));
    const TBitmap after = ReadBmpFile(SaveSheet("after.bmp"));
    TBitmap expected;
    const TBitmap white(zoom * next.Width(), zoom * next.Height());
    ComposeFishSheet(next, background, white, white, zoom, expected);
    EXPECT_EQ(FirstDifference(TopHalf(after), TopHalf(expected)), "") << change.how;
    EXPECT_EQ(BmpBytesOf(BottomHalf(after)), BmpBytesOf(BottomHalf(before))) << change.how;
    // The preview composed the new sheet as soon as the picture came.
    EXPECT_EQ(FirstDifference(*Anim()->SheetBitmap, after), "") << change.how;
    CloseAllQuietly();
}

INSTANTIATE_TEST_SUITE_P(
    Saves, WorkspaceFollowTest,
    ::testing::Values(
        SaveOver{"renamed over, other colours", Recoloured(kFirst),
                 [](const std::string& path, const TBitmap& picture, const TBitmap&) {
                     ReplaceByRename(path, picture);
                 },
                 true},
        SaveOver{"in place, larger canvas, fish moved",
                 FishPicture(200, 150, Rect(100, 60, 160, 110), QPoint(130, 85)),
                 [](const std::string& path, const TBitmap& picture, const TBitmap&) {
                     WriteInPlace(path, picture);
                 },
                 false},
        // Read while half written, it is no picture: nothing changes and no box appears.
        SaveOver{"half written, then the rest", Recoloured(kFirst),
                 [](const std::string& path, const TBitmap& picture, const TBitmap& old) {
                     WriteInTwoParts(path, picture, 100, 500, [&] {
                         auto* fish = FindChild<TMDIFish>();
                         EXPECT_TRUE(Shows(fish->Image1, old));
                     });
                 },
                 true}));

TEST_F(PictureReloadTest, RotationWindowsOnOneSheetTurnItAgainAndOutliveItsRemoval) {
    const std::string path = Write("sheet.bmp", FishSheet());
    TMDIRotate* windows[] = {OpenThrough<TMDIRotate>(Form1->BitBtn3, path),
                             OpenThrough<TMDIRotate>(Form1->BitBtn3, path)};
    for (TMDIRotate* window : windows) {
        window->Edit1->setFocus();
        window->Edit1->selectAll();
        QTest::keyClicks(window->Edit1, "45");
        QTest::keyClick(window->Edit1, Qt::Key_Return);
        dialogs.ExpectInformation(kUpDownDoneMessage);
        QTest::mouseClick(window->SpeedButton1, Qt::LeftButton);
    }
    const auto showsTurned = [&](const TBitmap& sheet) {
        TBitmap up, down;
        RotateQuadrant(sheet, 45, 0, up, down);
        return [=] {
            for (TMDIRotate* window : windows) {
                if (!Shows(window->Image1, up) || !Shows(window->Image2, down)) {
                    return false;
                }
            }
            return true;
        };
    };
    const TBitmap green = FishSheet(RGB(40, 200, 90));
    ReplaceByRename(path, green);
    ASSERT_TRUE(WaitFor(showsTurned(green)));
    for (TMDIRotate* window : windows) {
        EXPECT_FALSE(window->NeedsReload);
        EXPECT_TRUE(window->Unsaved);
    }
    // Removed, the sheet stays shown; a sheet of that name coming back is followed again.
    std::filesystem::remove(path);
    QTest::qWait(2 * TFileWatch::kQuietMilliseconds);
    EXPECT_TRUE(showsTurned(green)());
    const TBitmap grey = FishSheet(RGB(90, 90, 90));
    Write("sheet.bmp", grey);
    EXPECT_TRUE(WaitFor(showsTurned(grey)));
    CloseAllQuietly();
}

// Each window's File menu ends with Reload Picture, whose key reads the file at once.
TEST_F(PictureReloadTest, ReloadPictureKeyReadsTheFileWithNoChangeNoticed) {
    const TBitmap rock = RockPicture(), sheet = FishSheet();
    const std::string fishPath = WritePicture("fish.bmp", kFirst);
    const std::string rockPath = Write("rock.bmp", rock), sheetPath = Write("sheet.bmp", sheet);
    OpenWorkspace(fishPath);
    auto* rotation = OpenThrough<TMDIRotate>(Form1->BitBtn3, sheetPath);
    QTest::mouseClick(rotation->BitBtn1, Qt::LeftButton);
    auto* accessory = OpenThrough<TMDIAcc>(Form1->BitBtn1, rockPath);
    // Saved with the swatch black, the picture file is the opened one: that write of its own is
    // no change for the window to follow.
    dialogs.ExpectInformation(kFinished);
    QTest::mouseClick(accessory->SpeedButton1, Qt::LeftButton);
    QTest::qWait(2 * TFileWatch::kQuietMilliseconds);
    EXPECT_FALSE(accessory->Unsaved);

    const TBitmap fish = Recoloured(kFirst).Draw(), turned = FishSheet(RGB(40, 200, 90));
    TBitmap rock2 = rock;
    Fill(rock2, Rect(0, 0, 4, 4), kRed);
    const auto showsTurned = [&] {
        TBitmap up, down;
        RotateQuadrant(turned, rotation->Angle, 0, up, down);
        return Shows(rotation->Image1, up) && Shows(rotation->Image2, down);
    };
    struct Window {
        TForm* form;
        QMenuBar* bar;
        QAction* item;
        std::function<void()> save;
        std::function<bool()> shows;
    } windows[] = {
        {Fish(), Fish()->MainMenu1, Fish()->ReloadPicture1, [&] { WriteInPlace(fishPath, fish); },
         [&] { return Shows(Fish()->Image1, fish); }},
        {Shadow(), Shadow()->MainMenu1, Shadow()->ReloadPicture1,
         [&] { WriteInPlace(fishPath, kFirst.Draw()); },
         [&] { return Shows(Shadow()->Image1, ViewOf(kFirst.Draw(), 2, TBitmap(240, 180))); }},
        {rotation, rotation->MainMenu1, rotation->ReloadPicture1,
         [&] { WriteInPlace(sheetPath, turned); }, showsTurned},
        {accessory, accessory->MainMenu1, accessory->ReloadPicture1,
         [&] { WriteInPlace(rockPath, rock2); },
         [&] { return Shows(accessory->Image2, rock2) && accessory->Unsaved; }},
    };
    for (const Window& window : windows) {
        const std::vector<std::string> items = MenuTitles(window.bar->actions()[0]->menu());
        ASSERT_GE(items.size(), 2u);
        EXPECT_EQ(std::vector<std::string>(items.end() - 2, items.end()),
                  (std::vector<std::string>{"-", "Reload Picture"}));
        EXPECT_EQ(window.item->shortcut(), QKeySequence("Ctrl+R"));
        window.form->BringToFront();
        RunPostedEvents();
        window.save();
        QTest::keyClick(window.form, Qt::Key_R, Qt::ControlModifier);
        EXPECT_TRUE(window.shows()) << window.form->metaObject()->className();
    }
    CloseAllQuietly();
}
