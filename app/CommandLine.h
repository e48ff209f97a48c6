// The program's command line: --help and --version answered without a window, and the picture
// files handed to it (by a file manager's "Open With" or typed), sorted from what it cannot take.
#pragma once

#include <optional>
#include <string>
#include <vector>

// The text to print on standard output for --help or --version anywhere among the arguments
// (the program then exits without a window); nothing when the program is to start.
std::optional<std::string> StartAnswer(const std::vector<std::string>& arguments);

struct StartFiles {
    std::vector<std::string> Pictures; // existing BMP or PNG files, in the order given
    std::vector<std::string> Skipped;  // a line for standard error for every other argument
};

// Sorts the arguments left after the window toolkit took its own: existing files named ".bmp" or
// ".png" (any letter case) are pictures; anything else is skipped with the reason.
StartFiles SortStartFiles(const std::vector<std::string>& arguments);
