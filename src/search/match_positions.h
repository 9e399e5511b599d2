// Where matches stand in their text as the user counts: line and column, both from 1.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "search/regexp.h"

namespace lodestar {

// A column counts characters: a surrogate pair is one character, a tab is one.
struct TextPosition {
    std::size_t line = 1;
    std::size_t column = 1;
};

// The characters of `text`: its code units less the second halves of surrogate pairs.
std::size_t characterCount(std::u16string_view text);

// The position of each match's start, for matches in the order of the text (as a search finds
// them). One sweep over the text up to the last match, however many matches share a line.
std::vector<TextPosition> matchPositions(std::u16string_view text,
                                         const std::vector<MatchSpan>& spans);

}  // namespace lodestar
