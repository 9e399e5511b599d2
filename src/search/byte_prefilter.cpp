// Working out the literals a dialect pattern's matches must contain, and looking for them in
// raw bytes.
#include "search/byte_prefilter.h"

#include <algorithm>
#include <cstring>

namespace lodestar {
namespace {

constexpr std::size_t kMostAlternatives = 8;
constexpr std::size_t kNone = std::u16string_view::npos;

bool isAsciiAlnum(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

// The index after the bracket class that starts at `at`, or kNone when it never closes. As in
// the dialect, a "]" right after "[" or "[^" closes the class ([] and [^]).
std::size_t skipClass(std::u16string_view p, std::size_t at) {
    std::size_t i = at + 1;
    if (i < p.size() && p[i] == u'^') ++i;
    while (i < p.size()) {
        if (p[i] == u'\\')
            i += 2;
        else if (p[i] == u']')
            return i + 1;
        else
            ++i;
    }
    return kNone;
}

// The index after the group that starts at `at`, or kNone when it never closes.
std::size_t skipGroup(std::u16string_view p, std::size_t at) {
    std::size_t depth = 0;
    std::size_t i = at;
    while (i < p.size()) {
        const char16_t c = p[i];
        if (c == u'\\') {
            i += 2;
        } else if (c == u'[') {
            i = skipClass(p, i);
            if (i == kNone) return kNone;
        } else {
            if (c == u'(') ++depth;
            if (c == u')' && --depth == 0) return i + 1;
            ++i;
        }
    }
    return kNone;
}

// A counted quantifier {n}, {n,} or {n,m} at `at`: the index after it and whether n is 0;
// nullopt when the "{" is a literal one.
struct Counted {
    std::size_t end;
    bool optional;
};
std::optional<Counted> countedQuantifier(std::u16string_view p, std::size_t at) {
    std::size_t i = at + 1;
    const std::size_t digits = i;
    bool zero = true;
    for (; i < p.size() && p[i] >= u'0' && p[i] <= u'9'; ++i)
        if (p[i] != u'0') zero = false;
    if (i == digits) return std::nullopt;
    if (i < p.size() && p[i] == u',') {
        ++i;
        while (i < p.size() && p[i] >= u'0' && p[i] <= u'9') ++i;
    }
    if (i >= p.size() || p[i] != u'}') return std::nullopt;
    return Counted{i + 1, zero};
}

}  // namespace

BytePrefilter::BytePrefilter(std::vector<std::string> literals, bool ignoreCase)
    : literals_(std::move(literals)), finder_(literals_, ignoreCase) {
    if (ignoreCase)
        for (std::string& literal : literals_)
            std::transform(literal.begin(), literal.end(), literal.begin(), lowerAscii);
}

std::optional<BytePrefilter> BytePrefilter::forPattern(std::u16string_view p, bool ignoreCase) {
    std::vector<std::string> alternatives;
    std::string run;      // the literal characters read since the last break
    std::string longest;  // the longest run of the current alternative
    const auto endRun = [&] {
        if (run.size() > longest.size()) longest = run;
        run.clear();
    };
    const auto endAlternative = [&] {
        endRun();
        if (longest.empty()) return false;  // this alternative may match without a literal
        alternatives.push_back(longest);
        longest.clear();
        return true;
    };
    const auto add = [&](char16_t c) {
        // Caseless k and s also match the Kelvin sign and the long s, which are no ASCII bytes.
        const char16_t lower = c >= u'A' && c <= u'Z' ? c + 32 : c;
        if (c >= 0x80 || (ignoreCase && (lower == u'k' || lower == u's')))
            endRun();
        else
            run += static_cast<char>(c);
    };
    std::size_t i = 0;
    while (i < p.size()) {
        const char16_t c = p[i];
        switch (c) {
            case u'|':
                if (!endAlternative() || alternatives.size() > kMostAlternatives)
                    return std::nullopt;
                ++i;
                break;
            case u'(':
            case u'[':
                endRun();
                i = c == u'(' ? skipGroup(p, i) : skipClass(p, i);
                if (i == kNone) return std::nullopt;
                break;
            case u')':
                return std::nullopt;
            case u'.':
            case u'^':
            case u'$':
            case u'+':  // the character before is there at least once; what follows may not be next
                endRun();
                ++i;
                break;
            case u'?':
            case u'*':  // the character before may be missing
                if (!run.empty()) run.pop_back();
                endRun();
                ++i;
                break;
            case u'{':
                if (const auto counted = countedQuantifier(p, i)) {
                    if (counted->optional && !run.empty()) run.pop_back();
                    i = counted->end;
                } else {
                    ++i;  // a literal "{": simply not used
                }
                endRun();
                break;
            case u'\\': {
                if (i + 1 >= p.size()) return std::nullopt;
                const char16_t escaped = p[i + 1];
                if (!isAsciiAlnum(escaped)) {
                    add(escaped);
                } else if (std::u16string_view(u"bBdDwWsSfnrtv").find(escaped) != kNone) {
                    endRun();
                } else {
                    return std::nullopt;  // \x41, \u0041, \cJ, \1 and the like
                }
                i += 2;
                break;
            }
            default:
                add(c);
                ++i;
        }
    }
    if (!endAlternative() || alternatives.size() > kMostAlternatives) return std::nullopt;
    return BytePrefilter(std::move(alternatives), ignoreCase);
}

std::size_t BytePrefilter::longest() const {
    std::size_t most = 0;
    for (const std::string& literal : literals_) most = std::max(most, literal.size());
    return most;
}

bool BytePrefilter::mayMatch(std::string_view bytes) const {
    return finder_.any(bytes);
}

}  // namespace lodestar
