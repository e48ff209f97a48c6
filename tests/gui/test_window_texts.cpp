// Every question, message and error text the windows show, and the hints of the data windows,
// against the exact text of the program's design: the code's constants are checked here once,
// so the tests that use them cannot pass with a wrong text.
#include "accessory/Unit5.h"
#include "app/Messages.h"
#include "app/Unit1.h"
#include "app/toolkit/Application.h"
#include "raster/Errors.h"
#include "rotate/Unit8.h"
#include "shadow/ShadowsInPlace.h"
#include "support/DataWindowTest.h"
#include "support/GuiTestSupport.h"

#include <QPushButton>
#include <QToolButton>

using namespace gui_test;

TEST_F(DataWindowTest, EveryWindowTextIsTheDesignsOwnWordForWord) {
    TMDIRotate* rotate = OpenWith<TMDIRotate>(Form1->BitBtn3, Write("sheet.bmp", FishSheet()));
    TMDIAcc* accessory = OpenWith<TMDIAcc>(Form1->BitBtn1, Write("rock.bmp", RockPicture()));
    ASSERT_TRUE(rotate && accessory);
    const auto hint = [](const QWidget* control) { return control->toolTip().toStdString(); };
    struct Text {
        const char* what;
        std::string shown;
        const char* designed;
    };
    const Text texts[] = {
        // Announcements after a write.
        {"kImageFileDoneMessage", kImageFileDoneMessage, "画像ファイル作成終了"},
        {"kUpDownDoneMessage", kUpDownDoneMessage, "上向き，下向きDataの作成終了"},
        // Questions.
        {"kFishClosePrompt", kFishClosePrompt, "熱帯魚画像ﾃﾞｰﾀを作成しますか？"},
        {"kUpDownClosePrompt", kUpDownClosePrompt, "上向き下向き画像ﾃﾞｰﾀを作成しますか？"},
        {"kAccessoryClosePrompt", kAccessoryClosePrompt, "データを作成しますか？"},
        {"kOverwriteExistingPrompt", kOverwriteExistingPrompt,
         "既存のファイルに上書きしてもいいですか？"},
        {"kOverwriteSourcePrompt", kOverwriteSourcePrompt,
         "現在のファイルに上書きしてもいいですか？"},
        {"kRestoreQuestion", kRestoreQuestion,
         "前回保存されなかった熱帯魚画像ﾃﾞｰﾀがあります。復元しますか？"},
        {"MaskOverwritePrompt", MaskOverwritePrompt("/tank/rockm.bmp"),
         "マスクパターンファイル(/tank/rockm.bmp)があります。上書きしてもいいですか？"},
        // The library's error messages.
        {"msg::kFileOpen", msg::kFileOpen, "ﾌｧｲﾙ %s は開けません"},
        {"msg::kFileCreate", msg::kFileCreate, "ﾌｧｲﾙ %s を作成できません"},
        {"msg::kInvalidBitmap", msg::kInvalidBitmap, "ﾋﾞｯﾄﾏｯﾌﾟｲﾒｰｼﾞが不正です"},
        {"msg::kStreamRead", msg::kStreamRead, "ｽﾄﾘｰﾑからの読み込みｴﾗｰ"},
        {"msg::kStreamWrite", msg::kStreamWrite, "ｽﾄﾘｰﾑへの書き込みｴﾗｰ"},
        {"msg::kUnknownExtension", msg::kUnknownExtension, "拡張子 .%s の画像形式は処理できません"},
        {"msg::kOutOfResources", msg::kOutOfResources, "ｼｽﾃﾑ ﾘｿｰｽが足りません"},
        {"msg::kImageNeedsBitmap", msg::kImageNeedsBitmap,
         "ﾋﾞｯﾄﾏｯﾌﾟを持っている時のみｲﾒｰｼﾞの変更が可能です"},
        {"msg::kSheetDoesNotFitFish", msg::kSheetDoesNotFitFish,
         "ｼｰﾄの大きさが魚の範囲と合いません"},
        {"msg::kSheetDoesNotFitFishPickBackground", msg::kSheetDoesNotFitFishPickBackground,
         "ｼｰﾄの大きさが魚の範囲と合いません。背景色を選びましたか？"},
        // The font every window asks for.
        {"kFormFontFamily", kFormFontFamily, "ＭＳ Ｐゴシック"},
        // The data windows' hints, as loaded from their definitions.
        {"rotation Edit1", hint(rotate->Edit1), "回転の角度"},
        {"rotation Image1", hint(rotate->Image1), "上向きﾃﾞｰﾀ"},
        {"rotation Image2", hint(rotate->Image2), "下向きﾃﾞｰﾀ"},
        {"rotation SpeedButton1", hint(rotate->SpeedButton1), "ﾃﾞｰﾀﾌｧｲﾙの作成"},
        {"rotation BitBtn1", hint(rotate->BitBtn1), "回転の実行"},
        {"accessory SpeedButton1", hint(accessory->SpeedButton1), "ﾃﾞｰﾀﾌｧｲﾙの作成"},
    };
    for (const Text& t : texts) {
        EXPECT_EQ(t.shown, t.designed) << t.what;
    }
}
