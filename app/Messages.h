// The questions and announcements the windows show, each written once (the library's own error
// messages are in raster/Errors.h).
#pragma once

#include <string>

// Announcements after a finished write.
inline constexpr const char* kImageFileDoneMessage = "画像ファイル作成終了";
inline constexpr const char* kUpDownDoneMessage = "上向き，下向きDataの作成終了";

// Questions on closing with work not yet written.
inline constexpr const char* kFishClosePrompt = "熱帯魚画像ﾃﾞｰﾀを作成しますか？";
inline constexpr const char* kUpDownClosePrompt = "上向き下向き画像ﾃﾞｰﾀを作成しますか？";
inline constexpr const char* kAccessoryClosePrompt = "データを作成しますか？";
// Asked at start when a program that ended without closing its workspace left unsaved work.
inline constexpr const char* kRestoreQuestion =
    "前回保存されなかった熱帯魚画像ﾃﾞｰﾀがあります。復元しますか？";

// Questions before a file is replaced.
inline constexpr const char* kOverwriteExistingPrompt = "既存のファイルに上書きしてもいいですか？";
inline constexpr const char* kOverwriteSourcePrompt = "現在のファイルに上書きしてもいいですか？";
inline std::string MaskOverwritePrompt(const std::string& maskName) {
    return "マスクパターンファイル(" + maskName + ")があります。上書きしてもいいですか？";
}
