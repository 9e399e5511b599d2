// One text through a change, as the filter on standard input and a single file take it, for the
// real save and the dry run alike: what the change makes of it and the bytes it would be written
// as, in the encoding it came in.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "files/text_encoding.h"

namespace lodestar::cli {

enum class ChangeResult {
    Binary,      // NUL bytes and no --binary: not changed
    CannotHold,  // its encoding cannot hold the new text: nothing is written
    Unchanged,   // the change leaves the text as it was
    Changed,     // `bytes` holds the new content
};

struct ChangedText {
    ChangeResult result = ChangeResult::Unchanged;
    std::u16string text;                 // the new text (Unchanged: the text as it was)
    std::string bytes;                   // the content as written (Changed and Unchanged)
    std::optional<char32_t> unholdable;  // CannotHold: the first character it cannot hold
    TextFormat format;                   // the format the text came in and is written in
};

// Applies `change` to the decoded text (unless it is binary and `binaryAsText` is off) and
// encodes the outcome as the text's own format.
ChangedText changeText(const DecodedText& input, bool binaryAsText,
                       const std::function<std::u16string(std::u16string_view)>& change);

}  // namespace lodestar::cli
