// The layout of velmora-batch's help: usage line first, then what the command does, its options
// and the exit status, in the plain form man-page generators read.
#include "batch/HelpLayout.h"

void HelpLayout::SetUsageDemand(CLI::App& command, const std::string& demand) {
    command.formatter(std::make_shared<HelpLayout>(demand));
}

std::string HelpLayout::make_help(const CLI::App* app, std::string name,
                                  CLI::AppFormatMode mode) const {
    std::string text = make_usage(app, name);
    const std::string description = app->get_description();
    if (!description.empty()) {
        text += description + (description.back() == '\n' ? "" : "\n");
    }
    text += make_subcommands(app, mode);
    const auto options = app->get_options([](const CLI::Option* option) {
        return option->nonpositional() && !option->get_group().empty();
    });
    text += make_group("Options", false, {options.begin(), options.end()});
    return text + "\n" + make_footer(app);
}

std::string HelpLayout::make_usage(const CLI::App* app, std::string name) const {
    // The tool's usage is every command's usage line, as "Usage:" and "  or:" lines: the form a
    // manual page's synopsis is made from.
    const auto commands = app->get_subcommands({});
    if (!commands.empty()) {
        std::string lines;
        for (const CLI::App* command : commands) {
            const auto* layout = dynamic_cast<const HelpLayout*>(command->get_formatter().get());
            const std::string usage =
                layout ? layout->make_usage(command, name + " " + command->get_name()) : "";
            lines += (lines.empty() ? "" : "  or:  ") + usage.substr(usage.find(' ') + 1);
        }
        return lines.empty() ? "" : "Usage: " + lines + "  or:  " + name + " --help | --version\n";
    }
    std::string line = "Usage: " + name;
    for (const CLI::Option* input :
         app->get_options([](const CLI::Option* option) { return option->get_positional(); })) {
        line += " " + make_option_usage(input);
    }
    if (!usageDemand_.empty()) {
        line += " " + usageDemand_;
    }
    return line + " [OPTIONS]\n";
}

std::string HelpLayout::make_subcommand(const CLI::App* command) const {
    const std::string description = command->get_description();
    std::stringstream out;
    CLI::detail::format_help(out, command->get_name(),
                             description.substr(0, description.find('\n')), column_width_);
    return out.str();
}

std::string HelpLayout::make_option_name(const CLI::Option* option, bool positional) const {
    std::string names = CLI::Formatter::make_option_name(option, positional);
    for (std::size_t comma = names.find(','); comma != std::string::npos;
         comma = names.find(',', comma + 2)) {
        names.insert(comma + 1, " ");
    }
    return names;
}

std::string HelpLayout::make_option_opts(const CLI::Option* option) const {
    if (option->get_type_size() == 0 || option->get_type_name().empty()) {
        return "";
    }
    return " " + option->get_type_name();
}
