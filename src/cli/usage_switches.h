// The switches the usage text lists, for the shell completions made from it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lodestar::cli {

// Every switch of the usage text's switch lines ("-c", "--case-sensitive", "--readonly", ...),
// in the order they stand, each once.
std::vector<std::string> usageSwitches(std::string_view usage);

// `script` with "@SWITCHES@" replaced by the switches separated by spaces.
std::string withSwitches(std::string script, std::string_view usage);

}  // namespace lodestar::cli
