// Files the fault tests put where a picture is expected, and the folder snapshot they compare
// before and after a failing command.
#pragma once

#include "raster/Bmp.h"
#include "raster/Errors.h"
#include "raster/TBitmap.h"
#include "support/FileFaults.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace gui_test {

inline void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string BmpBytesOf(const TBitmap& bitmap) {
    const ByteStore bytes = EncodeBmp(bitmap);
    return {bytes.begin(), bytes.end()};
}

// A file that cannot be read as a picture. `vanishes`: it is there when chosen and gone by the
// time it is read.
struct BadFile {
    const char* name;
    std::function<std::string()> bytes;
    Fault fault; // in force while the file is read
    bool vanishes;
    std::function<std::string(const std::string&)> text; // the message for that path
};

// Every way a file can fail to be read, made from the bytes of a readable picture (`good`).
// The vanished file is left out where a command cannot see the file go between choosing it and
// reading it.
inline std::vector<BadFile> BadFiles(const std::function<std::string()>& good, bool withVanished) {
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
        {"100 bytes announcing 16000 x 16000",
         [] {
             std::string bytes = BmpBytesOf(TBitmap(1, 1));
             for (int offset : {18, 22}) {
                 bytes[offset] = static_cast<char>(16000 & 0xFF);
                 bytes[offset + 1] = static_cast<char>(16000 >> 8);
             }
             bytes.resize(100, '\0');
             return bytes;
         },
         Fault::None, false, fixed(msg::kInvalidBitmap)},
        {"without read permission", good, Fault::OrdinaryUser, false, cannotOpen},
    };
    if (withVanished) {
        files.push_back({"vanished after the dialog closed", good, Fault::None, true, cannotOpen});
    }
    return files;
}

// Every file under `folder` with its bytes; folders appear as a marker.
inline std::map<std::string, std::string> FolderSnapshot(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.is_directory()) {
            files[entry.path().string()] = "<folder>";
        } else {
            std::ifstream file(entry.path(), std::ios::binary);
            files[entry.path().string()] =
                std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        }
    }
    return files;
}

} // namespace gui_test
