// The program's command line: the answers that need no window and the sorting of handed files.
#include "app/CommandLine.h"

#include "raster/PictureFile.h"
#include "raster/TPicture.h"
#include "version/Version.h"

#include <filesystem>

namespace {

const char* const kHelp =
    "Usage: velmora [FILE...]\n"
    "Makes the aquarium program's picture-data files (BMP) from BMP or PNG pictures, in\n"
    "windows.\n"
    "\n"
    "Once the main window is shown, the FILEs (BMP or PNG pictures) are handled as if they had\n"
    "been dropped on it: a menu offers Fish Data, Rotate Fish Data and Accessory Data. Any\n"
    "other argument is listed on standard error and skipped.\n"
    "\n"
    "  --help     print this help and exit\n"
    "  --version  print the version and exit\n";

bool IsPictureName(const std::string& path) {
    if (IsPngName(path)) {
        return true;
    }
    const std::string extension = FileExtension(path);
    return extension.size() == 3 && (extension[0] | 0x20) == 'b' && (extension[1] | 0x20) == 'm' &&
           (extension[2] | 0x20) == 'p';
}

} // namespace

std::optional<std::string> StartAnswer(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (argument == "--help") {
            return std::string(kHelp);
        }
        if (argument == "--version") {
            return std::string("velmora ") + kVelmoraVersion + "\n";
        }
    }
    return std::nullopt;
}

StartFiles SortStartFiles(const std::vector<std::string>& arguments) {
    StartFiles files;
    for (const std::string& argument : arguments) {
        std::error_code error;
        const bool file = std::filesystem::is_regular_file(argument, error);
        if (!argument.empty() && argument[0] == '-' && !file) {
            files.Skipped.push_back("velmora: " + argument + ": unknown option, skipped");
        } else if (!file) {
            files.Skipped.push_back("velmora: " + argument + ": no such file, skipped");
        } else if (!IsPictureName(argument)) {
            files.Skipped.push_back("velmora: " + argument + ": not a BMP or PNG picture, skipped");
        } else {
            files.Pictures.push_back(argument);
        }
    }
    return files;
}
