// Translates a pattern of the program's dialect (ECMAScript-3 style regular expressions) into
// PCRE2 syntax for the 16-bit library, so that PCRE2 gives the dialect's meaning to every
// construct: ASCII \d \w \b, the dialect's \s, literal-letter escapes, legacy octal escapes,
// multiline anchors at LF, CR and CR LF (one break), and the dialect's error for what it
// refuses.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lodestar {

struct TranslatedPattern {
    std::u16string pcre2;  // the pattern in PCRE2 syntax
    // For each code unit of `pcre2`, and one past its end, the position in the dialect pattern
    // it came from; maps PCRE2's error offsets back to what the user typed.
    std::vector<std::size_t> origin;
    std::size_t groupCount = 0;  // capturing groups of the pattern
    // Whether the pattern holds a look-ahead with anything after it, or a {0} quantifier.
    // PCRE2 10.42 works out wrong start-of-match hints for some of them ((?=a)a?a finds one
    // match in "aab a", (?=(|S){0}) none at all): such a pattern is compiled with
    // PCRE2_NO_START_OPTIMIZE. A look-ahead that ends the pattern (colou?r(?=s)) keeps them.
    bool needsPlainStart = false;
};

// Throws RegExpError ("missing ) at position 3"; positions count code units from 0) for a
// pattern the dialect refuses. `ignoreCase` and `multiline` are the switches the PCRE2 pattern
// will be compiled and matched with: they change how some constructs are spelled.
TranslatedPattern translateDialect(std::u16string_view pattern, bool ignoreCase, bool multiline);

}  // namespace lodestar
