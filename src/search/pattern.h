// Turns what the user typed into the pattern box and the replacement box into what the
// shared expression sees: line breaks and tabs cleaned out, dots widened to match a line feed
// when the dot switch is on, and escapes decoded in the replacement.
#pragma once

#include <string>
#include <string_view>

namespace lodestar {

// The pattern text without any carriage return, line feed or tab, so that a pattern pasted
// over several lines becomes one line.
std::u16string cleanPattern(std::u16string_view text);

// The pattern with every dot that means "any character" written as [\s\S], so it also
// matches a line feed. Escaped dots and dots inside a bracket class stay literal, and no
// capturing group is added, so group numbers in a replacement keep their meaning.
std::u16string rewriteDots(std::u16string_view pattern);

struct BuiltPattern {
    std::u16string cleaned;        // back into the pattern box and into the pattern history
    std::u16string searchPattern;  // what the shared expression is given
    std::u16string replaceText;    // the replacement with its escapes decoded
};

BuiltPattern buildPattern(std::u16string_view patternText, std::u16string_view replacementText,
                          bool dotAll, bool escapeSupport);

}  // namespace lodestar
