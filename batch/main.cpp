// velmora-batch: parses the command line and runs one command.
#include "batch/Arguments.h"
#include "batch/Commands.h"
#include "raster/Platform.h"

#include <exception>
#include <iostream>
#include <map>

int main(int argc, char** argv) {
    std::string command;
    try {
        const std::optional<Options> options =
            ParseArguments(platform::StartProgram(argc, argv), std::cout);
        if (!options) {
            return 0;
        }
        command = options->Command;
        static const std::map<std::string, int (*)(const Options&)> commands = {
            {"fish", RunFish},       {"rotate", RunRotate}, {"accessory", RunAccessory},
            {"preview", RunPreview}, {"pen", RunPen},       {"convert", RunConvert},
            {"check", RunCheck}};
        return commands.at(options->Command)(*options);
    } catch (const UsageError& error) {
        const std::string& about = error.Command().empty() ? command : error.Command();
        std::cerr << "velmora-batch: " << error.what() << " (see 'velmora-batch "
                  << (about.empty() ? "" : about + " ") << "--help')\n";
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "velmora-batch: " << error.what() << "\n";
        return 1;
    }
}
