// What the four workspace windows load from their definitions: tool-bar hints, places and
// glyphs, icons, menus, the swatch and the pen window's labels.
#include "shadow/Unit3.h"
#include "support/FishWorkspace.h"
#include "support/GuiTestSupport.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QToolButton>

using namespace gui_test;
using Names = std::vector<std::string>;

TEST_F(FishWorkspaceTest, WindowsHaveTheirToolBarsIconsAndMenus) {
    FishPicture picture(40, 30);
    picture.Fish = Rect(5, 5, 30, 20);
    OpenWorkspace(WritePicture("fish.bmp", picture));
    TMDIFish* fish = Fish();
    TMDIShadow* shadow = Shadow();
    TMDIAnim* anim = Anim();
    struct Button {
        QToolButton* button;
        QRect place;
        const char* hint;
    };
    for (const Button& b : {
             Button{fish->SpeedButton1, QRect(3, 3, 40, 32), "ﾃﾞｰﾀﾌｧｲﾙの作成"},
             Button{fish->SpeedButton2, QRect(43, 3, 40, 32), "ｼｬﾄﾞｳﾊﾟﾀｰﾝの作成"},
             Button{fish->SpeedButton3, QRect(83, 3, 41, 32), "ｱﾆﾒｰｼｮﾝﾃｽﾄ"},
             Button{shadow->SpeedButton1, QRect(2, 3, 40, 32), "ﾃﾞｰﾀﾌｧｲﾙの作成"},
             Button{shadow->SpeedButton2, QRect(42, 3, 40, 32), "ﾏｽｸﾊﾟﾀｰﾝの作成"},
             Button{shadow->SpeedButton3, QRect(82, 3, 40, 32), "ｱﾆﾒｰｼｮﾝﾃｽﾄ"},
             Button{shadow->SpeedButton4, QRect(128, 3, 40, 32), "ｼｬﾄﾞｳの消去"},
             Button{shadow->SpeedButton5, QRect(168, 3, 40, 32), "既存ﾃﾞｰﾀからｼｬﾄﾞｳを読み込む"},
             Button{anim->SpeedButton1, QRect(3, 3, 40, 32), "ﾃﾞｰﾀﾌｧｲﾙの作成"},
             Button{anim->SpeedButton2, QRect(43, 3, 40, 32), "ﾏｽｸﾊﾟﾀｰﾝの作成"},
             Button{anim->SpeedButton3, QRect(83, 3, 40, 32), "ｼｬﾄﾞｳﾊﾟﾀｰﾝの作成"},
         }) {
        EXPECT_EQ(b.button->geometry(), b.place) << b.hint;
        EXPECT_EQ(b.button->toolTip(), QString::fromUtf8(b.hint));
        EXPECT_FALSE(b.button->icon().pixmap(24).isNull()) << b.hint;
    }
    for (TForm* window :
         {static_cast<TForm*>(fish), static_cast<TForm*>(shadow), static_cast<TForm*>(anim)}) {
        EXPECT_FALSE(window->windowIcon().pixmap(32).isNull());
        EXPECT_EQ(window->Color(), TColor{0x404040});
    }
    EXPECT_EQ(fish->Panel1->height(), 38);
    EXPECT_EQ(shadow->Panel1->frameShadow(), QFrame::Sunken);
    EXPECT_EQ(fish->Image2->geometry(), QRect(129, 7, 41, 25));
    EXPECT_EQ(fish->Label1->text(), "Background Color");

    const auto menu = [](QMenuBar* bar, int index) {
        return MenuTitles(bar->actions()[index]->menu());
    };
    EXPECT_EQ(MenuTitles(fish->MainMenu1),
              (Names{"File", "View", "Shadow Pattern", "Animation", "Window"}));
    EXPECT_EQ(MenuTitles(shadow->MainMenu1),
              (Names{"File", "Edit", "View", "Mask Pattern", "Animation", "Window"}));
    EXPECT_EQ(MenuTitles(anim->MainMenu1),
              (Names{"File", "Mask Pattern", "Shadow Pattern", "Window"}));
    for (QMenuBar* bar : {fish->MainMenu1, shadow->MainMenu1, anim->MainMenu1}) {
        // Reload Picture follows in the fish window's and the editor's (PictureReloadTest).
        const Names file = menu(bar, 0);
        EXPECT_EQ(Names(file.begin(), file.begin() + 2), (Names{"Save", "Close"}));
        EXPECT_EQ(menu(bar, bar->actions().size() - 1), (Names{"Tile", "Cascade"}));
    }
    EXPECT_EQ(anim->Timer1->Interval(), 0); // stopped when the editor's creation deactivated it

    EXPECT_EQ(Form3->Label1->text(), QString::fromUtf8("ペンの太さ"));
    EXPECT_EQ(Form3->Label2->text(), QString::fromUtf8("中心の大きさ(%)"));
    EXPECT_EQ(Form3->Label3->text(), QString::fromUtf8("ペンの濃さ"));
    EXPECT_EQ(Form3->ScrollBar2->geometry(), QRect(8, 136, 100, 15));
    EXPECT_EQ(Form3->ScrollBar3->minimum(), 10);
    CloseAllQuietly();
}
