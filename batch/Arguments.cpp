// velmora-batch's command line: the options of every command, parsed and checked in one place.
#include "batch/Arguments.h"

#include "shadow/PenStamp.h"

#include <charconv>
#include <map>
#include <set>

namespace {

const std::map<std::string, std::string> kUsage = {
    {"fish",
     "velmora-batch fish PICTURE.bmp... (-o SHEET.bmp | --out-dir DIR) "
     "[--background X,Y | --background '#RRGGBB'] [--shadow1 S1.bmp] [--shadow2 S2.bmp]\n"
     "  Composes the fish data sheet of each picture, as the fish window's Save writes it.\n"
     "  The background defaults to black; shadow pictures default to white and must be\n"
     "  the picture's size times its zoom factor (2 below 150 x 110, else 1).\n"},
    {"rotate", "velmora-batch rotate SHEET.bmp... [--angle N] [--out-dir DIR]\n"
               "  Writes the up and down sheets (NAMEu.bmp, NAMEd.bmp) beside each sheet or in\n"
               "  DIR. The angle defaults to 30 degrees.\n"},
    {"accessory", "velmora-batch accessory PICTURE.bmp... (-o OUT.bmp | --out-dir DIR) "
                  "[--background X,Y | --background '#RRGGBB']\n"
                  "  Writes the cropped accessory picture (file name lower-cased) and its one-bit\n"
                  "  mask (NAMEm.bmp) under the output name. The background defaults to black.\n"},
    {"preview", "velmora-batch preview SHEET.bmp -o FRAMES.bmp\n"
                "  Writes the animation preview's two frames side by side.\n"},
    {"pen", "velmora-batch pen [--width N] [--centre N] [--density N] -o STAMP.bmp\n"
            "  Writes the 50 x 50 pen stamp for the three slider positions (width 0-50,\n"
            "  default 20; centre 1-25, default 10; density 10-255, default 75).\n"},
    {"convert", "velmora-batch convert IN.bmp... (-o OUT.bmp | --out-dir DIR)\n"
                "  Rewrites each BMP file as a 24-bit colour file.\n"},
    {"check", "velmora-batch check [--accessory] FILE.bmp...\n"
              "  Tells whether each fish data sheet or up/down sheet (or, with --accessory, each\n"
              "  accessory picture and its mask beside it) keeps the aquarium program's rules;\n"
              "  exits 1 when any file breaks one.\n"},
};

// The options each command takes.
const std::map<std::string, std::set<std::string>> kAccepted = {
    {"fish", {"-o", "--out-dir", "--background", "--shadow1", "--shadow2"}},
    {"rotate", {"--angle", "--out-dir"}},
    {"accessory", {"-o", "--out-dir", "--background"}},
    {"preview", {"-o"}},
    {"pen", {"--width", "--centre", "--density", "-o"}},
    {"convert", {"-o", "--out-dir"}},
    {"check", {"--accessory"}},
};

int ParseInteger(const std::string& option, const std::string& text, int low, int high) {
    int value = 0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < low || value > high) {
        throw UsageError(option + " needs a whole number from " + std::to_string(low) + " to " +
                         std::to_string(high) + ", not '" + text + "'");
    }
    return value;
}

BackgroundChoice ParseBackground(const std::string& text) {
    BackgroundChoice choice;
    if (text.size() == 7 && text[0] == '#') {
        unsigned value = 0;
        auto [stop, error] = std::from_chars(text.data() + 1, text.data() + 7, value, 16);
        if (error == std::errc() && stop == text.data() + 7) {
            choice.From = BackgroundChoice::Kind::Colour;
            choice.Colour = RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
            return choice;
        }
    }
    const std::size_t comma = text.find(',');
    if (comma != std::string::npos && text[0] != '#') {
        const int limit = 2147483647;
        choice.From = BackgroundChoice::Kind::Pixel;
        choice.X = ParseInteger("--background X", text.substr(0, comma), 0, limit);
        choice.Y = ParseInteger("--background Y", text.substr(comma + 1), 0, limit);
        return choice;
    }
    throw UsageError("--background takes X,Y or #RRGGBB, not '" + text + "'");
}

void RequireOneOutputKind(const Options& options) {
    if (options.Output && options.OutDir) {
        throw UsageError("give either -o or --out-dir, not both");
    }
    if (!options.Output && !options.OutDir) {
        throw UsageError(options.Command + " needs -o OUT.bmp or --out-dir DIR");
    }
}

void CheckCombination(const Options& options) {
    const std::string& command = options.Command;
    const std::size_t inputs = options.Inputs.size();
    if (command == "pen") {
        if (inputs != 0) {
            throw UsageError("pen takes no input file");
        }
    } else if (inputs == 0) {
        throw UsageError(command + " needs at least one input file");
    }
    if (options.Output && inputs > 1) {
        throw UsageError("-o names one output; use --out-dir for several inputs");
    }
    if (command == "fish" || command == "accessory" || command == "convert") {
        RequireOneOutputKind(options);
    }
    if (command == "preview" && inputs != 1) {
        throw UsageError("preview takes one sheet");
    }
    if ((command == "preview" || command == "pen") && !options.Output) {
        throw UsageError(command + " needs -o OUT.bmp");
    }
}

} // namespace

std::string HelpText(const std::string& command) {
    auto found = kUsage.find(command);
    if (found != kUsage.end()) {
        return "Usage: " + found->second;
    }
    std::string text = "velmora-batch: the aquarium data files from the command line.\n\n";
    // "Usage:" and "  or:" lines are what help2man turns into the manual page's synopsis.
    const char* lead = "Usage: ";
    for (const char* name : {"fish", "rotate", "accessory", "preview", "pen", "convert", "check"}) {
        text += lead + kUsage.at(name).substr(0, kUsage.at(name).find('\n')) + "\n";
        lead = "  or:  ";
    }
    text += "\nvelmora-batch COMMAND --help tells more about one command. With several inputs a\n"
            "progress line per file goes to stderr; a failed file does not stop the others.\n"
            "Exit status: 0 every file written (or every file checked sound), 1 a file failed,\n"
            "2 the command line cannot be run.\n";
    return text;
}

Options ParseArguments(const std::vector<std::string>& arguments) {
    Options options;
    if (arguments.empty()) {
        throw UsageError("no command given");
    }
    std::size_t next = 0;
    if (arguments[0] == "--help" || arguments[0] == "-h") {
        options.Help = true;
        return options;
    }
    options.Command = arguments[next++];
    auto accepted = kAccepted.find(options.Command);
    if (accepted == kAccepted.end()) {
        throw UsageError("unknown command '" + options.Command + "'");
    }
    auto value = [&](const std::string& option) -> std::string {
        if (next >= arguments.size()) {
            throw UsageError(option + " needs a value");
        }
        return arguments[next++];
    };
    bool onlyInputs = false;
    while (next < arguments.size()) {
        const std::string argument = arguments[next++];
        if (onlyInputs || argument.empty() || argument[0] != '-' || argument == "-") {
            options.Inputs.push_back(argument);
            continue;
        }
        if (argument == "--") {
            onlyInputs = true;
            continue;
        }
        if (argument == "--help" || argument == "-h") {
            options.Help = true;
            return options;
        }
        if (!accepted->second.count(argument)) {
            throw UsageError(options.Command + " does not take " + argument);
        }
        if (argument == "-o") {
            options.Output = value(argument);
        } else if (argument == "--out-dir") {
            options.OutDir = value(argument);
        } else if (argument == "--background") {
            options.Background = ParseBackground(value(argument));
        } else if (argument == "--shadow1") {
            options.Shadow1 = value(argument);
        } else if (argument == "--shadow2") {
            options.Shadow2 = value(argument);
        } else if (argument == "--angle") {
            options.Angle = ParseInteger(argument, value(argument), -2147483647 - 1, 2147483647);
        } else if (argument == "--width") {
            options.PenWidth = ParseInteger(argument, value(argument), kPenWidthMin, kPenWidthMax);
        } else if (argument == "--centre") {
            options.Centre = ParseInteger(argument, value(argument), kCentreMin, kCentreMax);
        } else if (argument == "--density") {
            options.Density = ParseInteger(argument, value(argument), kDensityMin, kDensityMax);
        } else if (argument == "--accessory") {
            options.Accessory = true;
        }
    }
    CheckCombination(options);
    return options;
}
