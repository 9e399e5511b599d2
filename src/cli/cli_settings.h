// The settings a command runs with: the options file beside the program (or its defaults),
// overridden by the switches of the command line.
#pragma once

#include <string>

#include "cli/cli_args.h"
#include "files/text_encoding.h"

namespace lodestar::cli {

struct CliSettings {
    bool backup = true;
    std::u16string backupFolder;  // empty means "bak"
    bool countMatches = true;
    bool escapeSupport = true;
    TextReading reading{};  // the user's "encoding" setting or --encoding, and --binary
};

// Reads programFolder + "/lodestar.opt" and the user's settings file. Throws lodestar::Error
// when the options file exists but is unreadable.
CliSettings effectiveSettings(const Arguments& args, const std::u16string& programFolder);

}  // namespace lodestar::cli
