// The settings a command runs with: the options file beside the program (or its defaults),
// overridden by the switches of the command line.
#pragma once

#include <string>
#include <vector>

#include "cli/cli_args.h"

namespace lodestar::cli {

struct CliSettings {
    bool backup = true;
    std::u16string backupFolder;  // empty means "bak"
    bool countMatches = true;
    bool escapeSupport = true;
    std::vector<std::u16string> ignoredOptionLines;  // lines of the options file not taken
};

// Reads programFolder + "/lodestar.opt". Throws lodestar::Error when it exists but is unreadable.
CliSettings effectiveSettings(const Arguments& args, const std::u16string& programFolder);

}  // namespace lodestar::cli
