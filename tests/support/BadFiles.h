// Files the fault tests put where a picture is expected: every way a file can fail to be read,
// with the message each gives.
#pragma once

#include "tests/support/FileFaults.h"

#include <functional>
#include <string>
#include <vector>

namespace test_support {

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
std::vector<BadFile> BadFiles(const std::function<std::string()>& good, bool withVanished);

// Writes the bad file's bytes at `path`: readable by anyone, or only writable where it is to fail
// for want of read permission.
void PlaceBadFile(const BadFile& bad, const std::string& path);

} // namespace test_support
