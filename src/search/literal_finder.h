// Finding a few plain ASCII literals in bytes as an alternation of them matches: at the leftmost
// place where any of them starts, the first of them in pattern order that is there. Each literal
// is looked for by two of its rarer bytes at once, sixteen or thirty-two places at a time, so a
// literal whose first letter is everywhere ("static", "error") does not stop the scan at every
// one of them; several literals are looked for in one pass over the bytes.
// With ignoreCase, ASCII letters match in either case (and nothing else: the callers hand it
// only bytes where that is the whole of the folding).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lodestar {

namespace literal_scan {
// A literal's two key bytes: their offsets in it, and the bytes as the scan compares them.
struct KeyPair {
    std::size_t first = 0, second = 0;
    unsigned char firstKey = 0, secondKey = 0;
};
}  // namespace literal_scan

class LiteralFinder {
  public:
    // At most kMostLiterals literals, none empty.
    static constexpr std::size_t kMostLiterals = 16;
    // How many bytes the scan compares at a time: one (the plain loop), sixteen or thirty-two.
    enum class Width { One, Sixteen, ThirtyTwo };
    // The widths this processor can scan at, the widest last.
    static std::vector<Width> widths();
    // The widest the processor has, unless a narrower one is asked for (to try each of them).
    LiteralFinder(const std::vector<std::string>& literals, bool ignoreCase,
                  std::optional<Width> width = std::nullopt);

    struct Hit {
        std::size_t at;
        std::size_t length;
    };
    // The match that starts first at or after `from` (on a tie, the earliest literal).
    std::optional<Hit> find(std::string_view bytes, std::size_t from) const;
    // The matches one after another, each search starting where the last match ended (only the
    // first when `global` is off).
    std::size_t count(std::string_view bytes, bool global) const;
    // Whether any literal occurs.
    bool any(std::string_view bytes) const;
    // Whether a literal holds that byte (a line break: a match may then span lines).
    bool holds(char byte) const;

  private:
    template <class Vec, bool Fold>
    std::optional<Hit> scan(std::string_view bytes, std::size_t from) const;
    template <bool Fold>
    std::optional<Hit> findWide(std::string_view bytes, std::size_t from) const;
    template <bool Fold>
    bool matchesAt(std::size_t literal, const char* at) const;

    std::vector<std::string> literals_;  // lower case with ignoreCase
    std::vector<literal_scan::KeyPair> keys_;
    std::size_t furthestKey_ = 0;  // the largest offset of a key byte
    bool ignoreCase_ = false;
    Width width_ = Width::One;
};

// The literals of a pattern in PCRE2 syntax (as the dialect's translation writes it) that is
// nothing but plain literals separated by "|": letters and digits, escaped punctuation, and
// characters by number (\x{..}) within ASCII, or with `utf8` within U+FFFF as their UTF-8.
// Nullopt for anything else: classes, groups, quantifiers, escapes of other kinds, bytes beyond
// ASCII, an empty alternative, or more than LiteralFinder::kMostLiterals of them.
std::optional<std::vector<std::string>> plainLiterals(std::string_view pcre2Pattern,
                                                      bool utf8 = false);

}  // namespace lodestar
