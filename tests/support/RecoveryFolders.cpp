// Reading and spoiling recovery entries for the tests, through plain file operations.
#include "tests/support/RecoveryFolders.h"

#include "tests/support/Files.h"

#include <algorithm>
#include <sstream>

namespace test_support {

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> Subfolders(const fs::path& folder) {
    std::vector<fs::path> found;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (it->is_directory() && name[0] != '.' && name != "damaged") {
            found.push_back(it->path());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

void Truncate(const fs::path& file) {
    fs::resize_file(file, fs::file_size(file) / 2);
}

} // namespace

fs::path RecoveryIn(const fs::path& stateFolder) {
    return stateFolder / "velmora" / "recovery";
}

std::vector<fs::path> EntriesOf(const fs::path& recovery) {
    return Subfolders(recovery);
}

std::vector<fs::path> DamagedOf(const fs::path& recovery) {
    return Subfolders(recovery / "damaged");
}

std::string EntryField(const fs::path& entry, const std::string& key) {
    std::istringstream lines(FileText(entry / "entry.txt"));
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(key + " ", 0) == 0) {
            return line.substr(key.size() + 1);
        }
    }
    return "";
}

void SpoilEntry(const fs::path& entry, Spoil how) {
    const auto fileOf = [&](const std::string& role) {
        const std::string field = EntryField(entry, role);
        return entry / field.substr(0, field.find(' '));
    };
    switch (how) {
    case Spoil::TextCutShort:
        Truncate(entry / "entry.txt");
        break;
    case Spoil::ShadowCutShort:
        Truncate(fileOf("shadow2"));
        break;
    case Spoil::PictureMissing:
        fs::remove(fileOf("picture"));
        break;
    case Spoil::SizesDisagree: {
        // "shadow1 <file> <width> <height> <bytes>": one more row than the zoom gives.
        std::string text = FileText(entry / "entry.txt");
        const std::string line = "shadow1 " + EntryField(entry, "shadow1");
        std::istringstream words(line);
        std::string role, file;
        int width = 0, height = 0;
        std::size_t bytes = 0;
        words >> role >> file >> width >> height >> bytes;
        const std::string changed = role + " " + file + " " + std::to_string(width) + " " +
                                    std::to_string(height + 1) + " " + std::to_string(bytes);
        text.replace(text.find(line), line.size(), changed);
        WriteText(entry / "entry.txt", text);
        break;
    }
    }
}

} // namespace test_support
