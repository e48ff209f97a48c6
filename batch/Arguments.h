// velmora-batch's command line: the options of every command, parsed and checked in one place.
#pragma once

#include "raster/TColor.h"
#include "shadow/PenStamp.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// A command line that cannot be run; main prints it as a one-line hint and exits 2.
class UsageError : public std::runtime_error {
  public:
    explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

// --background: nothing (black, as a new window's swatch), a pixel of the picture, or a colour.
struct BackgroundChoice {
    enum class Kind { Default, Pixel, Colour };
    Kind From = Kind::Default;
    int X = 0;
    int Y = 0;
    TColor Colour = clBlack;
};

struct Options {
    std::string Command; // empty with --help alone
    bool Help = false;
    std::vector<std::string> Inputs;
    std::optional<std::string> Output; // -o
    std::optional<std::string> OutDir; // --out-dir
    BackgroundChoice Background;
    std::optional<std::string> Shadow1;
    std::optional<std::string> Shadow2;
    int Angle = 30;
    int PenWidth = kPenWidthStart; // the pen command's three slider positions
    int Centre = kCentreStart;
    int Density = kDensityStart;
    bool Accessory = false;
};

// Raises UsageError for anything a command does not take or needs and lacks.
Options ParseArguments(const std::vector<std::string>& arguments);

// The help text of one command, or of the whole tool for an empty command.
std::string HelpText(const std::string& command);
