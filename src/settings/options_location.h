// Where the options file lives. The program folder is read-only in a normal install, so the
// user's own copy is kept under the XDG configuration folder and is the one the options dialog
// writes; the copy beside the program only gives shipped defaults.
#pragma once

#include <string>

#include "files/user_folders.h"
#include "settings/options.h"

namespace lodestar {

// "lodestar.opt" in the user's configuration folder: $XDG_CONFIG_HOME/lodestar/, or
// ~/.config/lodestar/ when the variable is unset, empty or not an absolute path.
std::u16string userOptionsFile(const Environment& environment = processEnvironment);

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
