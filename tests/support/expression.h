// The tests' one way to build an expression: a pattern with the switches the program's
// requests carry (global unless said otherwise), either as the engine takes it or as the user
// typed it (cleaned, its dots widened under dot-all); and what such an expression finds.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "search/regexp.h"
#include "search/search_request.h"

namespace lodestar::testing {

// The pattern as the engine takes it; `dotAll` has no meaning here (see typedExpression).
inline RegExp expression(std::u16string_view pattern, SearchSwitches switches = {}) {
    RegExp re;
    re.setPattern(pattern);
    re.setIgnoreCase(switches.ignoreCase);
    re.setGlobal(switches.global);
    re.setMultiline(switches.multiline);
    return re;
}

// The pattern as typed in the pattern box, built as a search request builds it.
inline RegExp typedExpression(std::u16string_view pattern, SearchSwitches switches = {}) {
    return SearchRequest::build(pattern, u"", switches, false).expression();
}

inline std::vector<std::u16string> matchValues(const RegExp& re, std::u16string_view text) {
    std::vector<std::u16string> values;
    for (const Match& m : re.execute(text)) values.push_back(m.value);
    return values;
}

// Where a match lies, comparable: its index and length in code units (or bytes).
struct Span {
    std::size_t index;
    std::size_t length;
    bool operator==(const Span&) const = default;
};

inline std::vector<Span> spansOf(const RegExp& re, std::u16string_view text) {
    std::vector<Span> spans;
    re.forEachMatch(text, [&](const MatchSpan& m) { spans.push_back({m.index, m.length}); });
    return spans;
}

// The message RegExpError gives when the expression counts over `text`, or "no error".
inline std::string errorOf(const RegExp& re, std::u16string_view text = u"abc") {
    try {
        re.count(text);
    } catch (const RegExpError& e) {
        return e.what();
    }
    return "no error";
}

}  // namespace lodestar::testing
