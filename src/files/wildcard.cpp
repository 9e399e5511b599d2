// Wildcard matching with one backtracking point (the last "*"), linear in practice and never
// exponential, whatever the pattern.
#include "files/wildcard.h"

namespace lodestar {
namespace {

bool isHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Code units of the character starting at `index`: 2 for a surrogate pair, else 1.
std::size_t characterLength(std::u16string_view text, std::size_t index) {
    return isHighSurrogate(text[index]) && index + 1 < text.size() &&
                   isLowSurrogate(text[index + 1])
               ? 2
               : 1;
}

std::u16string_view trimBlanks(std::u16string_view text) {
    while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == u' ' || text.back() == u'\t')) text.remove_suffix(1);
    return text;
}

}  // namespace

char16_t foldFileNameCase(char16_t c) {
    if (c >= u'A' && c <= u'Z') return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
    switch (c) {
        case 0x0152:
            return 0x0153;  // Œ
        case 0x0160:
            return 0x0161;  // Š
        case 0x017D:
            return 0x017E;  // Ž
        case 0x0178:
            return 0x00FF;  // Ÿ
        default:
            return c;
    }
}

bool matchesWildcard(std::u16string_view name, std::u16string_view pattern) {
    if (pattern == u"*.*") return true;
    constexpr std::size_t none = std::u16string_view::npos;
    std::size_t n = 0, p = 0;
    std::size_t starAt = none, resumeName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starAt = p++;
            resumeName = n;
        } else if (p < pattern.size() && pattern[p] == u'?') {
            n += characterLength(name, n);
            ++p;
        } else if (p < pattern.size() &&
                   foldFileNameCase(pattern[p]) == foldFileNameCase(name[n])) {
            ++n;
            ++p;
        } else if (starAt != none) {
            // Let the last "*" take one more character and try the rest again.
            resumeName += characterLength(name, resumeName);
            n = resumeName;
            p = starAt + 1;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') ++p;
    return p == pattern.size();
}

bool matchesPatternList(std::u16string_view name, std::u16string_view patternList) {
    bool anyPattern = false;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = patternList.find(u';', start);
        // With no further ";" the count runs past the end, which substr clamps.
        std::u16string_view pattern = trimBlanks(patternList.substr(start, end - start));
        if (!pattern.empty()) {
            anyPattern = true;
            if (matchesWildcard(name, pattern)) return true;
        }
        if (end == std::u16string_view::npos) break;
        start = end + 1;
    }
    return !anyPattern;
}

}  // namespace lodestar
