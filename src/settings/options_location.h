// Where the options file lives. The program folder is read-only in a normal install, so the
// user's own copy is kept under the XDG configuration folder and is the one the options dialog
// writes; the copy beside the program only gives shipped defaults.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "settings/options.h"

namespace lodestar {

// An environment variable's value, or nothing when it is not set. Tests give their own.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;
std::optional<std::string> processEnvironmentValue(const char* name);

// $XDG_CONFIG_HOME/lodestar/lodestar.opt, or ~/.config/lodestar/lodestar.opt when the variable is
// unset, empty or not an absolute path; empty when neither it nor HOME gives a folder.
std::u16string userOptionsFile(const EnvironmentLookup& environment = processEnvironmentValue);

// The program folder's options file (the folder with or without a trailing "/").
std::u16string programOptionsFile(const std::u16string& programFolder);

// Start-up: the user's file when it exists, otherwise the program folder's, otherwise (or when
// the file read is missing, too short or unreadable) the defaults.
Options startupOptions(const std::u16string& userFile, const std::u16string& programFile);

// Writes the options to the user's file, creating its folder first. Throws Error when the
// folder cannot be created or the file cannot be written.
void saveUserOptions(const std::u16string& userFile, const Options& options, bool syntaxChecked,
                     bool countChecked);

}  // namespace lodestar
