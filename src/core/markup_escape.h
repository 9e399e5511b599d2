// Text as HTML or XML character data: the one escaper of the panes, the file table and the
// exports.
#pragma once

#include <string>
#include <string_view>

namespace lodestar {

// Which characters besides "&", "<" and ">" become references.
struct MarkupEscape {
    bool quotes = true;       // '"' as "&quot;"
    bool apostrophes = true;  // "'" as "&#39;"
    bool spaces = false;      // ' ' as "&nbsp;", so that runs of spaces show in HTML
};

std::u16string escapeMarkup(std::u16string_view text, const MarkupEscape& what = {});

}  // namespace lodestar
