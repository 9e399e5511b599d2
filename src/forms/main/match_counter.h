// The counter box between the match buttons: "12/400" shows the current match of the last
// search, and a number typed there (with or without "/400") moves to that match.
#pragma once

#include <optional>
#include <string>

namespace lodestar {

// The match a typed counter text names, 1 to `count`; empty for anything else.
std::optional<long long> typedMatchNumber(const std::u16string& text, long long count);

}  // namespace lodestar
