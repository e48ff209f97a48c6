// Prints every text the windows' message boxes can show, one a line as "KIND<tab>TEXT", exactly
// as the boxes show it: errors with the full stop the error box adds. NAME stands for a file's
// name and EXT for an extension. The user's guide's test compares its table with this list.
#include "accessory/AccessoryCrop.h"
#include "app/Messages.h"
#include "app/toolkit/Application.h"
#include "raster/Errors.h"
#include "rotate/UpDownSheets.h"
#include "shadow/ShadowsInPlace.h"

#include <iostream>
#include <string>
#include <utility>
#include <vector>

int main() {
    const std::vector<std::pair<const char*, std::string>> texts = {
        {"question", kFishClosePrompt},
        {"question", kUpDownClosePrompt},
        {"question", kAccessoryClosePrompt},
        {"question", kRestoreQuestion},
        {"question", kOverwriteExistingPrompt},
        {"question", kOverwriteSourcePrompt},
        {"question", MaskOverwritePrompt("NAME")},
        {"announcement", kImageFileDoneMessage},
        {"announcement", kUpDownDoneMessage},
        {"error", ErrorBoxText(msg::Format(msg::kFileOpen, "NAME"))},
        {"error", ErrorBoxText(msg::Format(msg::kFileCreate, "NAME"))},
        {"error", ErrorBoxText(msg::kInvalidBitmap)},
        {"error", ErrorBoxText(msg::kStreamRead)},
        {"error", ErrorBoxText(msg::kStreamWrite)},
        {"error", ErrorBoxText(msg::Format(msg::kUnknownExtension, "EXT"))},
        {"error", ErrorBoxText(msg::kOutOfResources)},
        {"error", ErrorBoxText(msg::kImageNeedsBitmap)},
        {"error", ErrorBoxText(msg::kSheetDoesNotFitFish)},
        {"error", ErrorBoxText(msg::kSheetDoesNotFitFishPickBackground)},
        {"error", ErrorBoxText(kNoBlackInMaskMessage)},
        {"error", ErrorBoxText(kNoAccessoryPixelMessage)},
    };
    for (const auto& [kind, text] : texts) {
        std::cout << kind << '\t' << text << '\n';
    }
    return 0;
}
