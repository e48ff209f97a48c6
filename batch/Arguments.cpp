// velmora-batch's command line: every command and option declared once, with its check and help.
#include "batch/Arguments.h"

#include "batch/HelpLayout.h"
#include "shadow/PenStamp.h"
#include "version/Version.h"

#include <CLI/CLI.hpp>

#include <charconv>
#include <climits>
#include <thread>

namespace {

constexpr const char* kTool = "velmora-batch";

const char* const kToolNotes =
    "'velmora-batch COMMAND --help' tells more about one command. With several inputs a\n"
    "progress line per file goes to stderr as each file is done, and a summary at the end;\n"
    "a file that fails does not stop the others.\n";

const char* const kExitStatus =
    "Exit status:\n"
    "  0  every file was written (check: every file is sound)\n"
    "  1  a file failed (check: broke a rule or could not be read); the others were done\n"
    "  2  the command line cannot be run; no file was touched\n";

std::optional<int> WholeNumber(std::string_view text, int low, int high) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

// "X,Y" (a pixel of each picture) or "#RRGGBB" (a colour); nothing for anything else.
std::optional<BackgroundChoice> BackgroundFrom(const std::string& text) {
    BackgroundChoice choice;
    if (text.size() == 7 && text[0] == '#') {
        unsigned value = 0;
        const auto [stop, error] = std::from_chars(text.data() + 1, text.data() + 7, value, 16);
        if (error != std::errc() || stop != text.data() + 7) {
            return std::nullopt;
        }
        choice.From = BackgroundChoice::Kind::Colour;
        choice.Colour = RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
        return choice;
    }
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos) {
        return std::nullopt;
    }
    const auto x = WholeNumber(std::string_view(text).substr(0, comma), 0, INT_MAX);
    const auto y = WholeNumber(std::string_view(text).substr(comma + 1), 0, INT_MAX);
    if (!x || !y) {
        return std::nullopt;
    }
    choice.From = BackgroundChoice::Kind::Pixel;
    choice.X = *x;
    choice.Y = *y;
    return choice;
}

const CLI::Validator kBackgroundForm(
    [](std::string& text) {
        return BackgroundFrom(text)
                   ? std::string()
                   : "takes X,Y (whole numbers from 0) or #RRGGBB, not '" + text + "'";
    },
    "");

const CLI::Validator kNotEmpty(
    [](std::string& text) { return text.empty() ? std::string("needs a name") : std::string(); },
    "");

// A whole number within a range; the message names the range and the text refused.
CLI::Validator WithinRange(int low, int high) {
    return CLI::Validator(
        [low, high](std::string& text) {
            return WholeNumber(text, low, high)
                       ? std::string()
                       : "needs a whole number from " + std::to_string(low) + " to " +
                             std::to_string(high) + ", not '" + text + "'";
        },
        "");
}

CLI::App* AddCommand(CLI::App& tool, const char* name, const char* summary, const char* details) {
    CLI::App* command = tool.add_subcommand(name, std::string(summary) + "\n" + details);
    command->footer(kExitStatus);
    command->group("Commands");
    return command;
}

// Checks of what one option cannot tell alone, each run after parsing when its command was
// the one given.
using Demands = std::vector<std::pair<const CLI::App*, std::function<void()>>>;

// The files a command works on, one or many.
void AddInputs(CLI::App& command, Options& options, const char* name, bool justOne) {
    if (justOne) {
        command
            .add_option_function<std::string>(
                name, [&options](const std::string& input) { options.Inputs = {input}; })
            ->required();
    } else {
        command.add_option(name, options.Inputs)->required();
    }
}

CLI::Option* AddOutDir(CLI::App& command, Options& options) {
    return command
        .add_option("--out-dir", options.OutDir, "write the files into DIR (made when missing)")
        ->type_name("DIR")
        ->check(kNotEmpty);
}

// -o, or with `orFolder` either -o (one input) or --out-dir; `what` names the file -o gives.
void AddOutput(CLI::App& command, Options& options, Demands& demands, const char* what,
               bool orFolder) {
    CLI::Option* file = command.add_option("-o", options.Output, "write to this file")
                            ->type_name(what)
                            ->check(kNotEmpty);
    if (!orFolder) {
        file->required();
        HelpLayout::SetUsageDemand(command, std::string("-o ") + what);
        return;
    }
    file->description("write to this file (one input only)");
    CLI::Option* folder = AddOutDir(command, options)->excludes(file);
    file->excludes(folder);
    HelpLayout::SetUsageDemand(command, std::string("(-o ") + what + " | --out-dir DIR)");
    demands.emplace_back(&command, [&options, name = command.get_name(), what] {
        if (!options.Output && !options.OutDir) {
            throw UsageError(name + " needs -o " + what + " or --out-dir DIR", name);
        }
        if (options.Output && options.Inputs.size() > 1) {
            throw UsageError("-o names one output; use --out-dir for several inputs", name);
        }
    });
}

void AddBackground(CLI::App& command, Options& options) {
    command
        .add_option_function<std::string>(
            "--background",
            [&options](const std::string& text) { options.Background = *BackgroundFrom(text); },
            "the background: the colour of pixel X,Y of each picture,\nor a colour (default "
            "black)")
        ->type_name("X,Y|#RRGGBB")
        ->check(kBackgroundForm);
}

void AddJobs(CLI::App& command, Options& options) {
    command
        .add_option("-j,--jobs", options.Jobs,
                    "make up to N files at once (default: the number of cores)")
        ->type_name("N")
        ->check(WithinRange(1, 1024));
}

void DeclareCommands(CLI::App& tool, Options& options, Demands& demands) {
    CLI::App* fish = AddCommand(
        tool, "fish", "Composes the fish data sheet of each picture.",
        "It is the sheet the fish window's Save writes. Shadow pictures default to white\n"
        "and must be the picture's size times its zoom factor (2 below 150 x 110, else 1).\n"
        "A warning tells when the background colour is nowhere on a picture's border.\n"
        "A PNG picture's transparent pixels are its background unless --background says.");
    AddInputs(*fish, options, "PICTURE.bmp", false);
    AddOutput(*fish, options, demands, "SHEET.bmp", true);
    AddBackground(*fish, options);
    for (auto [name, shadow, help] :
         {std::tuple{"--shadow1", &options.Shadow1, "shadow pattern 1 (default white)"},
          std::tuple{"--shadow2", &options.Shadow2, "shadow pattern 2 (default white)"}}) {
        fish->add_option(name, *shadow, help)->type_name("FILE")->check(kNotEmpty);
    }
    AddJobs(*fish, options);

    CLI::App* rotate =
        AddCommand(tool, "rotate", "Writes the up and down sheets of each fish data sheet.",
                   "NAMEu.bmp and NAMEd.bmp go beside each sheet, or into DIR.");
    AddInputs(*rotate, options, "SHEET.bmp", false);
    rotate->add_option("--angle", options.Angle, "degrees to turn either way (default 30)")
        ->type_name("N")
        ->check(WithinRange(INT_MIN, INT_MAX));
    AddOutDir(*rotate, options);
    AddJobs(*rotate, options);

    CLI::App* accessory = AddCommand(
        tool, "accessory", "Writes the cropped accessory picture and its one-bit mask.",
        "The picture goes under the output name lower-cased, the mask beside it as NAMEm.bmp.\n"
        "A PNG picture's transparent pixels are its background unless --background says.");
    AddInputs(*accessory, options, "PICTURE.bmp", false);
    AddOutput(*accessory, options, demands, "OUT.bmp", true);
    AddBackground(*accessory, options);
    AddJobs(*accessory, options);

    CLI::App* preview =
        AddCommand(tool, "preview", "Writes the animation preview's two frames side by side.", "");
    AddInputs(*preview, options, "SHEET.bmp", true);
    AddOutput(*preview, options, demands, "FRAMES.bmp", false);

    CLI::App* pen =
        AddCommand(tool, "pen", "Writes the 50 x 50 pen stamp for three slider positions.", "");
    AddOutput(*pen, options, demands, "STAMP.bmp", false);
    for (auto [name, value, low, high, help] :
         {std::tuple{"--width", &options.PenWidth, kPenWidthMin, kPenWidthMax, "pen width"},
          std::tuple{"--centre", &options.Centre, kCentreMin, kCentreMax,
                     "size of the hard centre"},
          std::tuple{"--density", &options.Density, kDensityMin, kDensityMax, "density"}}) {
        pen->add_option(name, *value,
                        std::string(help) + ", " + std::to_string(low) + " to " +
                            std::to_string(high) + " (default " + std::to_string(*value) + ")")
            ->type_name("N")
            ->check(WithinRange(low, high));
    }

    CLI::App* convert = AddCommand(
        tool, "convert", "Rewrites each BMP or PNG file as a 24-bit colour BMP file.", "");
    AddInputs(*convert, options, "IN.bmp", false);
    AddOutput(*convert, options, demands, "OUT.bmp", true);
    AddJobs(*convert, options);

    CLI::App* check = AddCommand(
        tool, "check", "Tells whether data files keep the aquarium program's rules.",
        "Prints one line per file on stdout: 'ok'; 'breaks N rules', each rule below it with\n"
        "its pixel count and first pixel; or 'cannot be checked' when the file (or its mask)\n"
        "cannot be read, the reason then going to stderr. Fish data sheets and up/down\n"
        "sheets are checked, or with --accessory accessory pictures and their masks.");
    AddInputs(*check, options, "FILE.bmp", false);
    check->add_flag("--accessory", options.Accessory,
                    "check accessory pictures, each with NAMEm.bmp beside it");
}

} // namespace

std::optional<Options> ParseArguments(const std::vector<std::string>& arguments,
                                      std::ostream& out) {
    Options options;
    CLI::App tool("Makes the aquarium program's picture-data files (BMP) from BMP or PNG\n"
                  "pictures, as Velmora's windows do.",
                  kTool);
    tool.formatter(std::make_shared<HelpLayout>());
    tool.set_help_flag("-h,--help", "print this help and exit");
    tool.set_version_flag("--version", std::string(kTool) + " " + kVelmoraVersion,
                          "print the version and exit");
    tool.footer(std::string(kToolNotes) + "\n" + kExitStatus);
    tool.require_subcommand(1);
    Demands demands;
    DeclareCommands(tool, options, demands);

    const auto& commands = tool.get_subcommands({});
    const bool known = !arguments.empty() &&
                       std::any_of(commands.begin(), commands.end(), [&](const CLI::App* command) {
                           return command->get_name() == arguments[0];
                       });
    if (arguments.empty()) {
        throw UsageError("no command given");
    }
    if (!known && arguments[0].rfind('-', 0) != 0) {
        throw UsageError("unknown command '" + arguments[0] + "'");
    }
    const std::string command = known ? arguments[0] : "";
    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    try {
        tool.parse(reversed);
    } catch (const CLI::Success& done) {
        tool.exit(done, out);
        return std::nullopt;
    } catch (const CLI::ParseError& error) {
        throw UsageError(error.what(), command);
    }
    for (const auto& [owner, demand] : demands) {
        if (owner->parsed()) {
            demand();
        }
    }
    options.Command = command;
    if (options.Jobs == 0) {
        options.Jobs = std::max(1u, std::thread::hardware_concurrency());
    }
    return options;
}
