// Windows following their picture files: a fish workspace whose picture is saved over by rename,
// in place on a larger canvas and in two steps, rotation windows on one changing sheet, and
// Reload Picture by its key with no change noticed.
#include "accessory/Unit5.h"
#include "app/Unit1.h"
#include "app/toolkit/FileWatch.h"
#include "fish/Unit9.h"
#include "raster/Bmp.h"
#include "rotate/RotationTransform.h"
#include "rotate/Unit8.h"
#include "support/DataWindowTest.h"
#include "support/FishWorkspace.h"

#include <QAction>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <fstream>

using namespace gui_test;

namespace {

// The fish of the first picture, zoomed in the editor, and the same fish in other colours.
const FishPicture kFirst(120, 90, Rect(30, 20, 90, 70), QPoint(60, 45));
FishPicture Recoloured(FishPicture picture) {
    picture.Body = RGB(200, 40, 160);
    picture.Spot = RGB(255, 255, 0);
    return picture;
}

// How an editor saves over the file: a new file renamed over it, the file itself written again,
// or that in two steps with the event loop running between them.
enum class How { Rename, InPlace, TwoParts };
void SaveOver(How how, const std::string& path, const TBitmap& picture,
              const std::function<void()>& between = {}) {
    const std::string bytes = BmpBytesOf(picture);
    if (how == How::Rename) {
        WriteText(path + ".part", bytes);
        std::filesystem::rename(path + ".part", path);
        return;
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    const std::size_t head = how == How::TwoParts ? 100 : bytes.size();
    file.write(bytes.data(), static_cast<std::streamsize>(head)).flush();
    if (how == How::TwoParts) {
        QTest::qWait(500);
        between();
    }
    file.write(bytes.data() + head, static_cast<std::streamsize>(bytes.size() - head));
}

bool Shows(TImage* image, const TBitmap& picture) {
    const TBitmap* shown = image->Picture().Bitmap();
    return shown && FirstDifference(*shown, picture).empty();
}

TBitmap Half(const TBitmap& sheet, bool bottom) {
    TBitmap half(sheet.Width(), sheet.Height() / 2);
    const int top = bottom ? half.Height() : 0;
    half.Canvas().CopyRect(Rect(0, 0, half.Width(), half.Height()), sheet.Canvas(),
                           Rect(0, top, half.Width(), top + half.Height()));
    return half;
}

class PictureReloadTest : public FishWorkspaceTest {
  protected:
    TBitmap SaveSheet(const std::string& name) {
        dialogs.ExpectSave(Path(name));
        dialogs.ExpectInformation(kFinished);
        QTest::mouseClick(Fish()->SpeedButton1, Qt::LeftButton);
        return ReadBmpFile(Path(name));
    }
    template <class W> W* OpenThrough(QPushButton* command, const std::string& path) {
        dialogs.ExpectOpen(path);
        QTest::mouseClick(command, Qt::LeftButton);
        return qobject_cast<W*>(Form1->ActiveMDIChild());
    }
};

struct Change {
    How how;
    FishPicture next;
    bool historyKept; // the same size keeps the undo history
};
class WorkspaceFollowTest : public PictureReloadTest,
                            public ::testing::WithParamInterface<Change> {};

} // namespace

TEST_P(WorkspaceFollowTest, FishWindowFollowsWithTheBackgroundAndEveryShadowPixelKept) {
    const Change& change = GetParam();
    const std::string path = WritePicture("fish.bmp", kFirst);
    OpenWorkspace(path);
    Click(Fish()->Image1, QPoint(0, 0));
    RaiseEditor();
    TMDIShadow* editor = Shadow();
    Stroke(editor->Image1, QPoint(80, 60), {QPoint(100, 70), QPoint(120, 80)});
    Stroke(editor->Image2, QPoint(150, 120), {QPoint(130, 110)});
    const TBitmap before = SaveSheet("before.bmp");

    // Half written, the file is no picture yet: nothing changes and no box appears.
    const TBitmap next = change.next.Draw();
    SaveOver(change.how, path, next, [&] { EXPECT_TRUE(Shows(Fish()->Image1, kFirst.Draw())); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return Shows(Fish()->Image1, next); }, 2000));

    EXPECT_EQ(Fish()->Image2->Canvas().Pixel(5, 5), kFirst.Background);
    EXPECT_FALSE(DataSaved);
    EXPECT_EQ(editor->Undo1->isEnabled(), change.historyKept);
    const int zoom = ZoomFactorFor(next.Width(), next.Height());
    EXPECT_TRUE(Shows(editor->Image2, ViewOf(next, zoom, *editor->Image4->Picture().Bitmap())));
    const TBitmap after = SaveSheet("after.bmp");
    TBitmap expected;
    const TBitmap white(zoom * next.Width(), zoom * next.Height());
    ComposeFishSheet(next, kFirst.Background, white, white, zoom, expected);
    EXPECT_EQ(FirstDifference(Half(after, false), Half(expected, false)), "");
    EXPECT_EQ(BmpBytesOf(Half(after, true)), BmpBytesOf(Half(before, true)));
    // The preview composed the new sheet as soon as the picture came.
    EXPECT_EQ(FirstDifference(*Anim()->SheetBitmap, after), "");
    CloseAllQuietly();
}

INSTANTIATE_TEST_SUITE_P(Saves, WorkspaceFollowTest,
                         ::testing::Values(Change{How::Rename, Recoloured(kFirst), true},
                                           Change{How::InPlace,
                                                  FishPicture(200, 150, Rect(100, 60, 160, 110),
                                                              QPoint(130, 85)),
                                                  false},
                                           Change{How::TwoParts, Recoloured(kFirst), true}));

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
            return std::all_of(std::begin(windows), std::end(windows), [&](TMDIRotate* w) {
                return Shows(w->Image1, up) && Shows(w->Image2, down) && !w->NeedsReload &&
                       w->Unsaved;
            });
        };
    };
    const TBitmap green = FishSheet(RGB(40, 200, 90));
    SaveOver(How::Rename, path, green);
    ASSERT_TRUE(QTest::qWaitFor(showsTurned(green), 2000));
    // Removed, the sheet stays shown; a sheet of that name coming back is followed again.
    std::filesystem::remove(path);
    QTest::qWait(2 * TFileWatch::kQuietMilliseconds);
    EXPECT_TRUE(showsTurned(green)());
    const TBitmap grey = FishSheet(RGB(90, 90, 90));
    Write("sheet.bmp", grey);
    EXPECT_TRUE(QTest::qWaitFor(showsTurned(grey), 2000));
    CloseAllQuietly();
}

// Each window's File menu ends with Reload Picture, whose key reads the file at once.
TEST_F(PictureReloadTest, ReloadPictureKeyReadsTheFileWithNoChangeNoticed) {
    const std::string fishPath = WritePicture("fish.bmp", kFirst);
    const std::string rockPath = Write("rock.bmp", RockPicture());
    const std::string sheetPath = Write("sheet.bmp", FishSheet());
    OpenWorkspace(fishPath);
    auto* rotation = OpenThrough<TMDIRotate>(Form1->BitBtn3, sheetPath);
    QTest::mouseClick(rotation->BitBtn1, Qt::LeftButton);
    auto* accessory = OpenThrough<TMDIAcc>(Form1->BitBtn1, rockPath);
    // Saved with the swatch black, the opened file is the picture file: that write of its own is
    // no change for the window to follow.
    dialogs.ExpectInformation(kFinished);
    QTest::mouseClick(accessory->SpeedButton1, Qt::LeftButton);
    QTest::qWait(2 * TFileWatch::kQuietMilliseconds);
    EXPECT_FALSE(accessory->Unsaved);

    const TBitmap fish = Recoloured(kFirst).Draw(), sheet = FishSheet(RGB(40, 200, 90));
    TBitmap rock = RockPicture(kRed);
    const auto showsTurned = [&] {
        TBitmap up, down;
        RotateQuadrant(sheet, rotation->Angle, 0, up, down);
        return Shows(rotation->Image1, up) && Shows(rotation->Image2, down);
    };
    const struct {
        TForm* form;
        QMenuBar* bar;
        QAction* item;
        std::string path;
        TBitmap picture;
        std::function<bool()> shows;
    } windows[] = {
        {Fish(), Fish()->MainMenu1, Fish()->ReloadPicture1, fishPath, fish,
         [&] { return Shows(Fish()->Image1, fish); }},
        {Shadow(), Shadow()->MainMenu1, Shadow()->ReloadPicture1, fishPath, kFirst.Draw(),
         [&] { return Shows(Shadow()->Image1, ViewOf(kFirst.Draw(), 2, TBitmap(240, 180))); }},
        {rotation, rotation->MainMenu1, rotation->ReloadPicture1, sheetPath, sheet, showsTurned},
        {accessory, accessory->MainMenu1, accessory->ReloadPicture1, rockPath, rock,
         [&] { return Shows(accessory->Image2, rock) && accessory->Unsaved; }},
    };
    for (const auto& window : windows) {
        const std::vector<std::string> items = MenuTitles(window.bar->actions()[0]->menu());
        EXPECT_EQ(std::vector<std::string>(items.end() - 2, items.end()),
                  (std::vector<std::string>{"-", "Reload Picture"}));
        EXPECT_EQ(window.item->shortcut(), QKeySequence("Ctrl+R"));
        window.form->BringToFront();
        RunPostedEvents();
        SaveOver(How::InPlace, window.path, window.picture);
        QTest::keyClick(window.form, Qt::Key_R, Qt::ControlModifier);
        EXPECT_TRUE(window.shows()) << window.form->metaObject()->className();
    }
    CloseAllQuietly();
}
