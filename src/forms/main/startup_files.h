// What the window reads from disk when it starts: the options in force, the user's encoding
// setting, notes about files that were passed by, and the program folder's missing data files.
#pragma once

#include <string>
#include <vector>

#include "files/text_encoding.h"
#include "settings/options.h"

namespace lodestar {

struct StartupSettings {
    Options options;
    TextReading reading;
    std::vector<std::u16string> notes;  // for the log, in the order found
};

// The user's options file, else the program folder's, else the defaults; the user's settings.
StartupSettings readStartupSettings(const std::u16string& programFolder,
                                    const std::u16string& userOptions);

// A program folder without some of its data files still opens: one line per missing file, with
// what cannot work without it.
std::vector<std::u16string> missingDataFiles(const std::u16string& programFolder);

}  // namespace lodestar
