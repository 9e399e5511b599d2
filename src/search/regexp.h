// The program's one regular-expression engine: the pattern dialect of the program's patterns,
// command files and library files (ECMAScript-3 style), built on PCRE2's 16-bit library.
// A pattern is accepted when set; a pattern that cannot be compiled or a search that runs past
// the engine's limits throws RegExpError from execute, count or replace; a replace whose result
// would grow past `replaceResultLimit` throws ReplaceTooLarge. The loops over a text take an
// optional StopToken: once it is requested they end before their next search with SearchStopped.
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
    // A pattern that does not compile: the reason names the position too.
    RegExpError(const std::string& what, std::size_t position)
        : Error(what + " at position " + std::to_string(position)), position_(position) {}
    // Where in the pattern it goes wrong (0-based code units), when the engine can tell.
    std::optional<std::size_t> position() const { return position_; }

  private:
    std::optional<std::size_t> position_;
};

// A replace whose result would pass its bound (replaceResultLimit), or that ran out of memory:
// the text grew too large, the pattern itself is fine.
class ReplaceTooLarge : public Error {
  public:
    using Error::Error;
};

// The work was stopped by the user; whatever it found so far is not a result.
class SearchStopped : public Error {
  public:
    using Error::Error;
};

class StopToken;

// The longest text a replace over a text of `textLength` code units may give: 16 times the text
// plus 64 Mi code units. A replacement that grows past it (such as "$'" repeated) is an error,
// not an exhausted memory.
std::size_t replaceResultLimit(std::size_t textLength);

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
    std::vector<Match> execute(std::u16string_view text, const StopToken* stop = nullptr) const;
    // The number of matches execute would give, without building them.
    std::size_t count(std::u16string_view text, const StopToken* stop = nullptr) const;
    // Calls `visit` for each match execute would give, in order, without copying texts.
    void forEachMatch(std::u16string_view text, const std::function<void(const MatchSpan&)>& visit,
                      const StopToken* stop = nullptr) const;
    // The text with every match (global on) or the first (global off) replaced by the
    // expansion of `replacement`: $1..$99, $&, $`, $', $$. Throws ReplaceTooLarge naming the
    // pattern when the result would pass `resultLimit` (by default replaceResultLimit of the
    // text) or memory runs out.
    std::u16string replace(std::u16string_view text, std::u16string_view replacement,
                           const StopToken* stop = nullptr,
                           std::optional<std::size_t> resultLimit = std::nullopt) const;

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
