// velmora-batch: parses the command line and runs one command.
#include "batch/Arguments.h"
#include "batch/Commands.h"
#include "version/Version.h"

#include <exception>
#include <iostream>
#include <map>

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    std::string command = arguments.empty() ? "" : arguments[0];
    if (arguments.size() == 1 && command == "--version") {
        std::cout << "velmora-batch " << kVelmoraVersion << "\n";
        return 0;
    }
    try {
        const Options options = ParseArguments(arguments);
        if (options.Help) {
            std::cout << HelpText(options.Command);
            return 0;
        }
        static const std::map<std::string, int (*)(const Options&)> commands = {
            {"fish", RunFish},       {"rotate", RunRotate}, {"accessory", RunAccessory},
            {"preview", RunPreview}, {"pen", RunPen},       {"convert", RunConvert},
            {"check", RunCheck}};
        return commands.at(options.Command)(options);
    } catch (const UsageError& error) {
        const bool known = HelpText(command) != HelpText("");
        std::cerr << "velmora-batch: " << error.what() << " (see 'velmora-batch "
                  << (known ? command + " " : "") << "--help')\n";
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "velmora-batch: " << error.what() << "\n";
        return 1;
    }
}
