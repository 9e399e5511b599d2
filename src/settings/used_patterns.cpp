// Recording and picking of used patterns.
#include "settings/used_patterns.h"

#include "core/error.h"

namespace lodestar {

bool UsedPatterns::add(std::u16string_view pattern) {
    const std::u16string_view newest =
        entries_.empty() ? kBlankCaption : std::u16string_view(entries_.back());
    if (pattern == newest) return false;
    if (entries_.size() == kCapacity) entries_.erase(entries_.begin());
    entries_.emplace_back(pattern);
    return true;
}

std::u16string UsedPatterns::pick(std::size_t index) const {
    if (index == 0) return {};
    if (index > entries_.size()) throw Error("No used pattern at this menu position.");
    return entries_[index - 1];
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
