// The dialect's match loop over one text: each next() finds the following match, starting
// where the last one ended, or one code unit further on after an empty match. Runs PCRE2's
// JIT code on a per-thread JIT stack under a match limit that grows with the text; when the JIT
// stack runs out it retries that search with the interpreter under a heap limit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

struct pcre2_real_match_data_16;

namespace lodestar {

class CompiledPattern;

// The offset pair of a capturing group that took no part in the match.
inline constexpr std::size_t kNoOffset = static_cast<std::size_t>(-1);

class MatchSession {
  public:
    MatchSession(const CompiledPattern& pattern, std::u16string_view text);
    ~MatchSession();
    MatchSession(const MatchSession&) = delete;
    MatchSession& operator=(const MatchSession&) = delete;

    // Finds the next match; false when there is none. Throws RegExpError when the search runs
    // past the engine's limits ("too complex for this text").
    bool next();

    std::size_t start() const { return offsets_[0]; }
    std::size_t end() const { return offsets_[1]; }
    // Begin and end of the whole match (pair 0) and of each group (pairs 1..groupCount), as
    // offsets into the text; kNoOffset for a group that took no part.
    const std::size_t* offsets() const { return offsets_; }

  private:
    int search(uint32_t options);

    const CompiledPattern& pattern_;
    std::u16string_view text_;
    uint32_t matchLimit_;
    pcre2_real_match_data_16* matchData_ = nullptr;
    const std::size_t* offsets_ = nullptr;
    std::size_t from_ = 0;  // where the next search starts
    bool finished_ = false;
    bool usedInterpreter_ = false;  // its match data then holds backtracking memory
};

}  // namespace lodestar
