// The settings a command runs with: the user's options file or the program folder's shipped one (or
// the defaults), overridden by the switches of the command line.
#pragma once

#include <string>
#include <vector>

#include "cli/cli_args.h"
#include "files/text_encoding.h"

namespace lodestar::cli {

struct CliSettings {
    bool backup = true;
    std::u16string backupFolder;  // empty means "bak"
    bool countMatches = true;
    bool escapeSupport = true;
    TextReading reading{};  // the user's "encoding" setting or --encoding, and --binary
    std::vector<std::u16string> ignoredOptionLines;  // lines of the options file not taken
    std::vector<std::u16string> notAFile;  // options and settings files that are FIFOs or devices
    std::size_t keptSteps = 10;  // steps of a file's or folder's history Restore can take back
};

// Reads the user's options file when it exists, else programFolder + "/lodestar.opt", else the
// defaults; and the user's settings file. None of them is ever waited on: one that is a FIFO or
// a device is not read and is named in `notAFile`.
CliSettings effectiveSettings(const Arguments& args, const std::u16string& programFolder);

}  // namespace lodestar::cli
