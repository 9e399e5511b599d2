// The thin operations through which the commands use the configured shared expression.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "search/regexp.h"

namespace lodestar {

// The expression's replace over the whole text: every match when global is on, else the
// first; "$1" and the like in the replacement. Throws RegExpError for a broken pattern.
std::u16string replaceIn(const RegExp& expr, std::u16string_view text,
                         std::u16string_view replacement);

}  // namespace lodestar
