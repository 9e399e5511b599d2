// Recording and picking of used patterns.
#include "settings/used_patterns.h"

#include <algorithm>

#include "core/error.h"

namespace lodestar {

bool UsedPatterns::add(std::u16string_view pattern) {
    if (pattern.empty() || (!entries_.empty() && entries_.back() == pattern)) return false;
    std::erase(entries_, pattern);
    if (entries_.size() == kCapacity) entries_.erase(entries_.begin());
    entries_.emplace_back(pattern);
    return true;
}

std::u16string UsedPatterns::pick(std::size_t index) const {
    if (index == 0 || index > entries_.size())
        throw Error("No used pattern at this menu position.");
    return entries_[entries_.size() - index];
}

std::u16string menuCaption(std::u16string_view pattern) {
    std::u16string caption;
    caption.reserve(pattern.size());
    for (char16_t c : pattern) {
        caption += c;
        if (c == u'&') caption += u'&';
    }
    return caption;
}

}  // namespace lodestar
