// The per-user folders the program keeps its own files in, after the XDG base directory rules:
// settings under $XDG_CONFIG_HOME (else ~/.config), state under $XDG_STATE_HOME (else
// ~/.local/state), files of one session under $XDG_RUNTIME_DIR (else the temporary folder).
// Each answer is the program's own folder inside (".../lodestar/"), ending in "/"; nothing is
// created.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace lodestar {

// An environment variable's value, or nullopt when it is not set. The default reads the
// process's environment; tests give their own.
using Environment = std::function<std::optional<std::string>(const char* name)>;
std::optional<std::string> processEnvironment(const char* name);

std::u16string userConfigFolder(const Environment& environment = processEnvironment);
std::u16string userStateFolder(const Environment& environment = processEnvironment);
std::u16string userRuntimeFolder(const Environment& environment = processEnvironment);

}  // namespace lodestar
