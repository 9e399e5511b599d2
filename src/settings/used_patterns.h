// The patterns used, offered again by the "Used Regexps" menu. The window keeps them in its
// state file (settings/window_state.h), so the next start offers them again.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lodestar {

// Caption of the menu's first element, which stands for the empty pattern.
inline constexpr std::u16string_view kBlankCaption = u"Blank";

class UsedPatterns {
  public:
    // The newest patterns kept; recording one more drops the oldest.
    static constexpr std::size_t kCapacity = 255;

    // Records the pattern unless it equals the newest entry, exactly and case-sensitively.
    // While the history is empty the newest entry is the "Blank" element, so a pattern reading
    // "Blank" is then not recorded. Returns whether the pattern was recorded.
    bool add(std::u16string_view pattern);

    // The recorded patterns, oldest first; menu element i is entries()[i - 1].
    const std::vector<std::u16string>& entries() const { return entries_; }
    std::size_t count() const { return entries_.size(); }

    // The pattern box text for menu element i: empty for 0 ("Blank"), else the pattern as
    // recorded. Throws Error for an element that does not exist.
    std::u16string pick(std::size_t index) const;

    // "Clear History": only "Blank" remains.
    void clear() { entries_.clear(); }

  private:
    std::vector<std::u16string> entries_;
};

// A pattern as a menu caption: "&" would mark an access key, so it is doubled.
std::u16string menuCaption(std::u16string_view pattern);

}  // namespace lodestar
