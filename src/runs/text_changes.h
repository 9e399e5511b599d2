// The changes between a file's text and its new text, line by line, as a preview shows them:
// each change replaces whole lines of the old text by whole lines of the new one, and the old
// text with every change applied is the new text exactly. A line is kept with its line end, so
// line ends and a last line without one are changes like any other.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lodestar {

struct TextChange {
    // Character ranges [start, end) of the lines it replaces and of the lines that replace them.
    std::size_t beforeStart = 0, beforeEnd = 0;
    std::size_t afterStart = 0, afterEnd = 0;
    // The 1-based line numbers of its first line in the old text and in the new one.
    std::size_t beforeLine = 0, afterLine = 0;
    // The part that differs, as offsets into the two ranges: what the ranges share at their start
    // and at their end is the same text.
    std::size_t sameHead = 0, sameTail = 0;
};

// Where `before` and `after` differ. A run of changed lines that keeps its number of lines is
// one change per line, so a replace that changes a thousand lines offers a thousand changes;
// lines added or removed join the changed lines around them. The pairing looks only a short
// way ahead for lines the two texts share again, so it costs time in proportion to the texts,
// not to their product, at the price of a longer change now and then.
std::vector<TextChange> changesBetween(std::u16string_view before, std::u16string_view after);

// `before` with exactly the changes whose `ticked` entry is set (a missing entry is not set).
std::u16string withChanges(std::u16string_view before, std::u16string_view after,
                           const std::vector<TextChange>& changes, const std::vector<bool>& ticked);

}  // namespace lodestar
