// A quick look at a file's bytes before its text is decoded and searched: many patterns name
// text that every match must contain ("colour" in colou?r, "px" in [0-9]+px, one of "red",
// "green" or "blue" in red|green|blue). A file whose bytes hold none of it cannot match, and is
// counted 0 without decoding. Only ASCII literals are looked for, and only in encodings where
// every ASCII character of the text is that same byte (UTF-8, Windows-1252), so the look is
// exact for them; the callers decide which files qualify.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "search/literal_finder.h"

namespace lodestar {

class BytePrefilter {
  public:
    // The filter for a pattern of the program's dialect, or nullopt when the pattern does not
    // tell what its matches must contain (an alternative without a literal, escapes whose
    // meaning is not a plain character, case folding that reaches beyond ASCII).
    static std::optional<BytePrefilter> forPattern(std::u16string_view pattern, bool ignoreCase);

    // False only when no match can lie in `bytes`: none of the literals occurs in them.
    bool mayMatch(std::string_view bytes) const;

    // The literals looked for (any one of them is enough); for tests and diagnostics.
    const std::vector<std::string>& literals() const { return literals_; }
    std::size_t longest() const;

  private:
    BytePrefilter(std::vector<std::string> literals, bool ignoreCase);

    std::vector<std::string> literals_;
    LiteralFinder finder_;
};

}  // namespace lodestar
