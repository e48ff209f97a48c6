// The layout of velmora-batch's help: usage line first, then what the command does, its options
// and the exit status, in the plain form man-page generators read.
#pragma once

#include <CLI/CLI.hpp>

#include <string>

class HelpLayout : public CLI::Formatter {
  public:
    explicit HelpLayout(std::string usageDemand = "") : usageDemand_(std::move(usageDemand)) {
        column_width_ = 28;
    }

    // Gives `command` this layout, its usage line showing `demand` (the options it cannot do
    // without, as "-o FILE" or "(-o FILE | --out-dir DIR)") after its inputs.
    static void SetUsageDemand(CLI::App& command, const std::string& demand);

    std::string make_help(const CLI::App* app, std::string name,
                          CLI::AppFormatMode mode) const override;
    std::string make_usage(const CLI::App* app, std::string name) const override;
    std::string make_subcommand(const CLI::App* command) const override;
    std::string make_option_name(const CLI::Option* option, bool positional) const override;
    std::string make_option_opts(const CLI::Option* option) const override;

  private:
    std::string usageDemand_;
};
