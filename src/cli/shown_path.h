// The names find prints for the files of a PATH operand: the operand as typed, then each file's
// place under the folder ("site/sub/a.htm" for "site"), as grep and ripgrep print them.
#pragma once

#include <functional>
#include <string>

#include "cli/target_path.h"

namespace lodestar::cli {

std::function<std::string(const std::u16string&)> shownPaths(const std::string& operand,
                                                             const Target& target);

}  // namespace lodestar::cli
