// The patterns used, offered again by the "Used Regexps" menu. The window keeps them in its
// state file (settings/window_state.h), so the next start offers them again.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lodestar {

class UsedPatterns {
  public:
    // The newest patterns kept; recording one more drops the oldest.
    static constexpr std::size_t kCapacity = 255;

    // Records a pattern as the newest; an equal entry (exactly and case-sensitively) moves up
    // instead of being kept twice, and the empty pattern is not recorded. Returns whether the
    // history changed.
    bool add(std::u16string_view pattern);

    // The recorded patterns, oldest first, each once; pick(1) is the newest.
    const std::vector<std::u16string>& entries() const { return entries_; }
    std::size_t count() const { return entries_.size(); }

    // The pattern box text for menu element i, 1 being the newest pattern. Throws Error for an
    // element that does not exist.
    std::u16string pick(std::size_t index) const;

    // "Clear History".
    void clear() { entries_.clear(); }

  private:
    std::vector<std::u16string> entries_;
};

// A pattern as a menu caption: "&" would mark an access key, so it is doubled.
std::u16string menuCaption(std::u16string_view pattern);

}  // namespace lodestar
