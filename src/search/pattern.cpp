// Cleaning of the pattern box and the dot rewrite of the "dot matches line breaks" switch.
#include "search/pattern.h"

#include "search/escapes.h"

namespace lodestar {

std::u16string cleanPattern(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (char16_t c : text) {
        if (c != u'\r' && c != u'\n' && c != u'\t') out.push_back(c);
    }
    return out;
}

// One pass that knows just enough of the dialect to tell a wildcard dot from a literal one:
// a backslash takes the next character with it, and a bracket class runs from "[" to the
// first unescaped "]", even right after "[" or "[^" ("[]" and "[^]" are complete classes).
std::u16string rewriteDots(std::u16string_view pattern) {
    static constexpr std::u16string_view anyCharacter = u"[\\s\\S]";
    std::u16string out;
    out.reserve(pattern.size() + 8);
    bool inClass = false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char16_t c = pattern[i];
        if (c == u'\\') {
            out.push_back(c);
            if (i + 1 < pattern.size()) out.push_back(pattern[++i]);
        } else if (inClass) {
            out.push_back(c);
            if (c == u']') inClass = false;
        } else if (c == u'[') {
            out.push_back(c);
            inClass = true;
        } else if (c == u'.') {
            out.append(anyCharacter);
        } else {
            out.push_back(c);
        }
    }
    return out;
}

BuiltPattern buildPattern(std::u16string_view patternText, std::u16string_view replacementText,
                          bool dotAll, bool escapeSupport) {
    BuiltPattern built;
    built.cleaned = cleanPattern(patternText);
    built.searchPattern = dotAll ? rewriteDots(built.cleaned) : built.cleaned;
    built.replaceText = decodeEscapes(replacementText, escapeSupport);
    return built;
}

}  // namespace lodestar
