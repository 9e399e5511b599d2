// The dialect's match loop over one text: each next() finds the following match, starting
// where the last one ended, or one code unit further on after an empty match. Runs PCRE2's
// JIT code on a per-thread JIT stack; when the JIT stack runs out it retries that search with
// the interpreter under a heap limit.
//
// One budget of backtracking steps, growing with the text, covers all the searches of a
// session, so a runaway pattern ends within seconds however many matches it finds. PCRE2 does
// not say how many steps a search took, so each search starts under a small limit that grows
// fourfold while the search runs out of it; the limits of the attempts that ran out are
// charged in full, and the successful attempt at least the limit before it. A search that needs
// more than the budget leaves throws "too complex for this text".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

struct pcre2_real_match_data_16;

namespace lodestar {

class CompiledPattern;
class StopToken;

// The offset pair of a capturing group that took no part in the match.
inline constexpr std::size_t kNoOffset = static_cast<std::size_t>(-1);

class MatchSession {
  public:
    // `stop`, when given, is looked at before each search: once it is requested, next() throws
    // SearchStopped.
    MatchSession(const CompiledPattern& pattern, std::u16string_view text,
                 const StopToken* stop = nullptr);
    ~MatchSession();
    MatchSession(const MatchSession&) = delete;
    MatchSession& operator=(const MatchSession&) = delete;

    // Finds the next match; false when there is none. Throws RegExpError when the search runs
    // past the engine's limits ("too complex for this text"), SearchStopped when stopped.
    bool next();

    std::size_t start() const { return offsets_[0]; }
    std::size_t end() const { return offsets_[1]; }
    // Begin and end of the whole match (pair 0) and of each group (pairs 1..groupCount), as
    // offsets into the text; kNoOffset for a group that took no part.
    const std::size_t* offsets() const { return offsets_; }

  private:
    int search(uint32_t options, uint32_t matchLimit);
    int searchWithinBudget();

    const CompiledPattern& pattern_;
    std::u16string_view text_;
    const StopToken* stop_;
    uint64_t budgetLeft_;  // backtracking steps the rest of the session may take
    pcre2_real_match_data_16* matchData_ = nullptr;
    const std::size_t* offsets_ = nullptr;
    std::size_t from_ = 0;  // where the next search starts
    bool finished_ = false;
    bool usedInterpreter_ = false;  // its match data then holds backtracking memory
};

}  // namespace lodestar
