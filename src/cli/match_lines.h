// The text find prints for the matches of one file: grep-style lines (FILE:LINE:COLUMN:TEXT),
// the matched texts alone, or one JSON object per match; with context lines when asked.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/find_output.h"

namespace lodestar::cli {

struct FoundMatch {
    std::size_t index = 0;                              // in code units of the text
    std::size_t length = 0;                             //
    std::vector<std::optional<std::u16string>> groups;  // only for JSON
};

struct LineLabel {
    std::string name;      // the file as printed (UTF-8)
    bool showName = true;  // false: lines carry no FILE
    bool color = false;    // ANSI colours for a terminal
};

// The output for `matches` (in text order) of `text`. Shapes Lines, OnlyMatching and Json.
std::string matchLines(std::u16string_view text, const std::vector<FoundMatch>& matches,
                       const LineLabel& label, const FindOutput& output);

// `text` as a JSON string with its quotes; a lone surrogate is written as its \u escape.
std::string jsonString(std::u16string_view text);

}  // namespace lodestar::cli
