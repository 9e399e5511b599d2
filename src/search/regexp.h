// The program's one regular-expression engine: the pattern dialect of the program's patterns,
// command files and library files (ECMAScript-3 style), built on PCRE2's 16-bit library.
// A pattern is accepted when set; a pattern that cannot be compiled, or a match that runs past
// the engine's limits, throws RegExpError from execute, count or replace.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"

namespace lodestar {

class RegExpError : public Error {
  public:
    using Error::Error;
};

struct Match {
    std::size_t index = 0;  // position of the first code unit of the match in the text
    std::u16string value;   // the matched text
    // Texts of the capturing groups 1..n in order; nullopt for a group that took no part.
    std::vector<std::optional<std::u16string>> subMatches;
};

// Position and length of one match, for loops that need no copies of the text.
struct MatchSpan {
    std::size_t index = 0;
    std::size_t length = 0;
};

// The pattern is compiled on first use after a change and the compiled code is shared by
// copies: copies may match on different threads at once, one object on one thread at a time.
class RegExp {
  public:
    RegExp();
    ~RegExp();
    RegExp(const RegExp& other);
    RegExp& operator=(const RegExp& other);
    RegExp(RegExp&&) noexcept;
    RegExp& operator=(RegExp&&) noexcept;

    void setPattern(std::u16string_view pattern);
    const std::u16string& pattern() const;
    void setIgnoreCase(bool on);
    bool ignoreCase() const;
    void setGlobal(bool on);  // all matches (on) or the first only (off)
    bool global() const;
    void setMultiline(bool on);  // ^ and $ also at line breaks
    bool multiline() const;

    // Every match from left to right (global on) or at most the first (global off).
    std::vector<Match> execute(std::u16string_view text) const;
    // The number of matches execute would give, without building them.
    std::size_t count(std::u16string_view text) const;
    // Calls `visit` for each match execute would give, in order, without copying texts.
    void forEachMatch(std::u16string_view text,
                      const std::function<void(const MatchSpan&)>& visit) const;
    // The text with every match (global on) or the first (global off) replaced by the
    // expansion of `replacement`: $1..$99, $&, $`, $', $$.
    std::u16string replace(std::u16string_view text, std::u16string_view replacement) const;

  private:
    struct Compiled;
    const Compiled& compiled() const;  // compiles on first use after a change; throws

    std::u16string pattern_;
    bool ignoreCase_ = false;
    bool global_ = false;
    bool multiline_ = false;
    mutable std::shared_ptr<const Compiled> compiled_;
};

}  // namespace lodestar
