// The unreadable pictures, each made from a readable one.
#include "tests/support/BadFiles.h"

#include "raster/Errors.h"
#include "raster/TBitmap.h"
#include "tests/support/Files.h"
#include "tests/support/MemoryLimit.h"

#include <filesystem>

namespace test_support {

std::vector<BadFile> BadFiles(const std::function<std::string()>& good, bool withVanished) {
    const auto fixed = [](const char* message) {
        return [message](const std::string&) { return std::string(message); };
    };
    const auto cannotOpen = [](const std::string& path) {
        return msg::Format(msg::kFileOpen, path);
    };
    std::vector<BadFile> files{
        {"not a BMP", [] { return std::string("not a picture, only words\n"); }, Fault::None, false,
         fixed(msg::kInvalidBitmap)},
        {"truncated inside the file header", [good] { return good().substr(0, 9); }, Fault::None,
         false, fixed(msg::kStreamRead)},
        {"truncated inside the colour table",
         [] {
             TBitmap mono;
             mono.SetMonochrome(true);
             mono.SetSize(64, 64);
             return BmpBytesOf(mono).substr(0, 58);
         },
         Fault::None, false, fixed(msg::kStreamRead)},
        {"header asking for 60000 x 60000",
         [] {
             std::string bytes = BmpBytesOf(TBitmap(1, 1));
             for (int offset : {18, 22}) {
                 bytes[offset] = static_cast<char>(60000 & 0xFF);
                 bytes[offset + 1] = static_cast<char>(60000 >> 8);
             }
             return bytes;
         },
         Fault::None, false, fixed(msg::kInvalidBitmap)},
        {"100 bytes announcing 16000 x 16000", AnnouncedButAbsentBmp, Fault::None, false,
         fixed(msg::kInvalidBitmap)},
        {"without read permission", good, Fault::OrdinaryUser, false, cannotOpen},
    };
    if (withVanished) {
        files.push_back({"vanished before it was read", good, Fault::None, true, cannotOpen});
    }
    return files;
}

void PlaceBadFile(const BadFile& bad, const std::string& path) {
    namespace fs = std::filesystem;
    fs::remove(path);
    WriteText(path, bad.bytes());
    fs::permissions(path, bad.fault == Fault::OrdinaryUser
                              ? fs::perms::owner_write
                              : fs::perms::owner_read | fs::perms::owner_write |
                                    fs::perms::group_read | fs::perms::others_read);
}

} // namespace test_support
