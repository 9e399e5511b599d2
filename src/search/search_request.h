// One search or replace as the user asked for it: the pattern as typed, the pattern the engine
// is given, the replacement and the four switches, with the expression compiled once. Built
// where the pattern and replacement boxes (or the command line) are read, and handed by value
// to everything that searches or replaces; copies share the compiled expression.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "search/regexp.h"

namespace lodestar {

struct SearchSwitches {
    bool ignoreCase = false;
    bool global = true;
    bool dotAll = false;     // "." also matches a line break
    bool multiline = false;  // "^" and "$" at every line
};

class SearchRequest {
  public:
    SearchRequest() = default;

    // Cleans the typed pattern (line breaks and tabs out, dots widened under dotAll) and decodes
    // the replacement's escapes when `escapeSupport` is on. Compiles nothing yet: `error` does.
    static SearchRequest build(std::u16string_view typedPattern,
                               std::u16string_view typedReplacement, SearchSwitches switches,
                               bool escapeSupport);

    const std::u16string& typedPattern() const { return typed_; }
    // The pattern cleaned of line breaks and tabs: what goes back into the pattern box and into
    // the pattern history.
    const std::u16string& cleanedPattern() const { return cleaned_; }
    const std::u16string& searchPattern() const { return expression_.pattern(); }
    const std::u16string& replacement() const { return replacement_; }
    const SearchSwitches& switches() const { return switches_; }
    bool empty() const { return cleaned_.empty(); }

    // The engine's reason when the pattern cannot be compiled, naming the position in the
    // pattern as typed when that alone is already wrong; nullopt when it compiles. The compiled
    // code is kept and shared by every copy made afterwards.
    std::optional<std::u16string> error() const;
    // Where the pattern goes wrong, as `error` names it (0-based, in the pattern it names);
    // nullopt when it compiles or the engine cannot tell.
    std::optional<std::size_t> errorPosition() const;

    const RegExp& expression() const { return expression_; }

    // The same pattern and replacement under other engine switches (ignore case, global,
    // multiline); the dot switch stays the one the pattern was cleaned with.
    SearchRequest withSwitches(const SearchSwitches& switches) const;

  private:
    std::u16string typed_;
    std::u16string cleaned_;
    std::u16string replacement_;
    SearchSwitches switches_;
    RegExp expression_;
};

}  // namespace lodestar
