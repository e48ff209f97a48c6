// Whole files for the tests.
#include "tests/support/Files.h"

#include "raster/Bmp.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace test_support {

std::string FileText(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

ByteStore FileBytes(const std::filesystem::path& path) {
    const std::string text = FileText(path);
    return {text.begin(), text.end()};
}

void WriteText(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string BmpBytesOf(const TBitmap& bitmap) {
    const ByteStore bytes = EncodeBmp(bitmap);
    return {bytes.begin(), bytes.end()};
}

std::string FirstDifferingByte(const ByteStore& actual, const ByteStore& expected) {
    const auto [a, e] =
        std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
    if (a == actual.end() && e == expected.end()) {
        return "";
    }
    const std::size_t at = static_cast<std::size_t>(a - actual.begin());
    char text[160];
    const auto hex = [](auto it, auto end) {
        char byte[8] = "none";
        if (it != end) {
            std::snprintf(byte, sizeof byte, "0x%02X", static_cast<unsigned>(*it));
        }
        return std::string(byte);
    };
    std::snprintf(text, sizeof text, "byte %zu: %s vs %s", at, hex(a, actual.end()).c_str(),
                  hex(e, expected.end()).c_str());
    std::string difference = text;
    if (actual.size() != expected.size()) {
        difference += " (sizes " + std::to_string(actual.size()) + " and " +
                      std::to_string(expected.size()) + ")";
    }
    return difference;
}

std::string FileDifference(const std::string& actual, const std::string& expected) {
    for (const std::string& path : {actual, expected}) {
        if (!std::filesystem::is_regular_file(path) ||
            !std::ifstream(path, std::ios::binary).is_open()) {
            return path + " cannot be read";
        }
    }
    return FirstDifferingByte(FileBytes(actual), FileBytes(expected));
}

bool Exists(const std::string& path) {
    return std::filesystem::exists(path);
}

std::map<std::string, std::string> FolderSnapshot(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        files[entry.path().string()] =
            entry.is_directory() ? std::string("<folder>") : FileText(entry.path());
    }
    return files;
}

bool IgnoresCase(const std::filesystem::path& folder) {
    const std::filesystem::path probe = folder / "case-probe";
    WriteText(probe, "");
    const bool ignores = std::filesystem::exists(folder / "CASE-PROBE");
    std::filesystem::remove(probe);
    return ignores;
}

} // namespace test_support
