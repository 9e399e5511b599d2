// The match list pane's entries: for each match its number, its line and column, and its line's
// text around it with the match marked.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "search/match_positions.h"
#include "search/regexp.h"

namespace lodestar {

// Entries from..to-1 as "<li data-k=k onclick=setValue(n)>" (k from 0, n = k + 1) holding the
// spans "n" (the number), "at" ("line:column") and "tx" (the line around the match, the match
// as "em"; an empty match is an empty "em"). Each entry is one row: line breaks inside a match
// show as U+21B5, and long context is cut with U+2026. The values are read from `text` at the
// matches' positions, so a list of a million entries costs no copies of their texts.
std::u16string matchListEntries(std::u16string_view text, const std::vector<MatchSpan>& spans,
                                const std::vector<TextPosition>& positions, std::size_t from,
                                std::size_t to);

}  // namespace lodestar
