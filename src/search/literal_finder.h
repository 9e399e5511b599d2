// Finding a few plain ASCII literals in bytes as an alternation of them matches: at the leftmost
// place where any of them starts, the first of them in pattern order that is there. Each literal
// is looked for by two of its rarer bytes at once, sixteen places at a time, so a literal whose
// first letter is everywhere ("static", "error") does not stop the scan at every one of them.
// With ignoreCase, ASCII letters match in either case (and nothing else: the callers hand it
// only bytes where that is the whole of the folding).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lodestar {

class LiteralFinder {
  public:
    // At most kMostLiterals literals, none empty.
    static constexpr std::size_t kMostLiterals = 16;
    LiteralFinder(const std::vector<std::string>& literals, bool ignoreCase);

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
    struct Needle {
        std::string text;                   // lower case with ignoreCase
        std::size_t first = 0, second = 0;  // offsets of the two bytes looked for
        unsigned char firstByte = 0, secondByte = 0;
        bool foldFirst = false, foldSecond = false;  // letters, compared in lower case
    };
    std::size_t findOne(const Needle& needle, std::string_view bytes, std::size_t from) const;
    bool matchesAt(const Needle& needle, const char* at) const;

    std::vector<Needle> needles_;
    bool ignoreCase_ = false;
};

// The literals of a pattern in PCRE2 syntax (as the dialect's translation writes it) that is
// nothing but plain literals separated by "|": letters and digits, escaped punctuation, and
// characters by number (\x{..}) within ASCII, or with `utf8` within U+FFFF as their UTF-8.
// Nullopt for anything else: classes, groups, quantifiers, escapes of other kinds, bytes beyond
// ASCII, an empty alternative, or more than LiteralFinder::kMostLiterals of them.
std::optional<std::vector<std::string>> plainLiterals(std::string_view pcre2Pattern,
                                                      bool utf8 = false);

}  // namespace lodestar
