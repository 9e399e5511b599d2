// The user's own settings beyond the options file: a small "name=value" file, "settings" in the
// user's configuration folder (userConfigFolder()). The options file keeps its eight lines for
// the programs and files that read it; new settings live here.
//
//     encoding=auto        auto, windows-1252, utf-8, utf-16le or utf-16be
#pragma once

#include <optional>
#include <string>

#include "files/text_encoding.h"

namespace lodestar {

struct UserSettings {
    std::optional<TextEncoding> encoding;  // nullopt: each file's own encoding ("auto")
    bool notAFile = false;  // the path is a FIFO or a device: never read, the defaults hold
};

// The settings file's path in `folder` (ending in "/").
std::u16string userSettingsPath(const std::u16string& folder);

// Reads the file without ever waiting on it; a missing or unreadable file (or one that is a FIFO
// or a device, which also sets notAFile), an unknown name or a value that cannot be read
// leaves that setting at its default. Lines end in LF or CR LF; "#" starts a comment line.
UserSettings loadUserSettings(const std::u16string& path);

}  // namespace lodestar
