// Glyph icons across windows: a window opened again shows its definition's glyphs through the
// very icons the earlier one had, so Qt's pixmap cache does not fill with closed windows' glyphs.
#include "app/Unit1.h"
#include "support/FishWorkspace.h"
#include "support/GuiTestSupport.h"

#include <QMdiSubWindow>
#include <QToolButton>

using namespace gui_test;

namespace {
class WindowIconTest : public FishWorkspaceTest {
  protected:
    // The cache keys of the fish window's and the editor's glyphs and of the editor's title icon.
    std::vector<qint64> IconKeys() {
        std::vector<qint64> keys;
        for (QToolButton* button : {Fish()->SpeedButton1, Fish()->SpeedButton2,
                                    Shadow()->SpeedButton4, Shadow()->SpeedButton5}) {
            EXPECT_FALSE(button->icon().isNull());
            keys.push_back(button->icon().cacheKey());
        }
        keys.push_back(Shadow()->Frame()->windowIcon().cacheKey());
        return keys;
    }
};
} // namespace

TEST_F(WindowIconTest, AReopenedWorkspaceSharesTheIconsOfTheFirstAndShowsTheDefinitionsGlyphs) {
    FishPicture picture(40, 30);
    picture.Fish = Rect(5, 5, 20, 20);
    const std::string path = WritePicture("fish.bmp", picture);
    OpenWorkspace(path);
    const std::vector<qint64> first = IconKeys();
    const QImage floppy = Fish()->SpeedButton1->icon().pixmap(24, 24).toImage();
    EXPECT_EQ(floppy, QIcon(":/glyphs/floppy_24.xpm").pixmap(24, 24).toImage());
    // The fish window's and the editor's floppy disks are one glyph, so one icon.
    EXPECT_EQ(Fish()->SpeedButton1->icon().cacheKey(), Shadow()->SpeedButton1->icon().cacheKey());
    CloseAllQuietly();
    RunPostedEvents();

    OpenWorkspace(path);
    EXPECT_EQ(IconKeys(), first);
    CloseAllQuietly();
}
