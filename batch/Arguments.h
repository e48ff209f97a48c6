// velmora-batch's command line: every command and option declared once, with its check and help.
#pragma once

#include "raster/TColor.h"
#include "shadow/PenStamp.h"

#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

// A command line that cannot be run; main prints it as a one-line hint and exits 2. Raised only
// before any file is touched.
class UsageError : public std::runtime_error {
  public:
    explicit UsageError(const std::string& message, const std::string& command = "")
        : std::runtime_error(message), command_(command) {}
    // The command whose --help the hint points to; empty for the tool's own.
    const std::string& Command() const { return command_; }

  private:
    std::string command_;
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
    std::string Command;
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
    int Jobs = 0; // files made at once; 0 until parsed, then at least 1
};

// Parses the arguments after the program's name. Returns nothing when help or the version was
// asked for and printed on `out`; raises UsageError for anything that cannot be run.
std::optional<Options> ParseArguments(const std::vector<std::string>& arguments, std::ostream& out);
