// The match list pane's content: one clickable entry per match value.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "search/regexp.h"

namespace lodestar {

// For each value k (1-based) "<li onclick=setValue(k)>" and the escaped value, with no closing
// tag and nothing between entries; then "</ol>" and "<input id='idx' value=0 type=hidden>".
// It becomes the inner HTML of the list page's "mlist" element.
std::u16string matchListFragment(const std::vector<std::u16string>& values);

// Entries from..to-1 of a long list, for a list page that shows it a piece at a time: each
// entry is closed, carries its number for the list's numbering and its 0-based index in the
// attribute data-k, and calls setValue with its number when clicked.
// The values are the matches' positions in `text`, so a list of a million entries costs no
// copies of their texts.
std::u16string matchListPiece(std::u16string_view text, const std::vector<MatchSpan>& spans,
                              std::size_t from, std::size_t to);

}  // namespace lodestar
