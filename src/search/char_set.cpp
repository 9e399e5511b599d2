// Sets of UTF-16 code units as sorted ranges.
#include "search/char_set.h"

#include <algorithm>

namespace lodestar {

CharSet::CharSet(std::initializer_list<Range> ranges) {
    for (const Range& r : ranges) add(r.first, r.last);
}

CharSet CharSet::digits() {
    return {{U'0', U'9'}};
}

CharSet CharSet::word() {
    return {{U'0', U'9'}, {U'A', U'Z'}, {U'_', U'_'}, {U'a', U'z'}};
}

CharSet CharSet::space() {
    // The set V8 uses for \s: ASCII white space, no-break space, the Unicode space
    // separators, the line and paragraph separators and the byte-order mark.
    return {{0x09, 0x0D},     {0x20, 0x20},     {0xA0, 0xA0},     {0x1680, 0x1680},
            {0x2000, 0x200A}, {0x2028, 0x2029}, {0x202F, 0x202F}, {0x205F, 0x205F},
            {0x3000, 0x3000}, {0xFEFF, 0xFEFF}};
}

void CharSet::add(char32_t first, char32_t last) {
    auto at = std::lower_bound(ranges_.begin(), ranges_.end(), first,
                               [](const Range& r, char32_t c) { return r.last + 1 < c; });
    Range merged{first, last};
    auto end = at;
    while (end != ranges_.end() && end->first <= last + 1) {
        merged.first = std::min(merged.first, end->first);
        merged.last = std::max(merged.last, end->last);
        ++end;
    }
    at = ranges_.erase(at, end);
    ranges_.insert(at, merged);
}

void CharSet::add(const CharSet& other) {
    for (const Range& r : other.ranges_) add(r.first, r.last);
}

void CharSet::remove(char32_t c) {
    for (auto it = ranges_.begin(); it != ranges_.end(); ++it) {
        if (c < it->first || c > it->last) continue;
        Range r = *it;
        it = ranges_.erase(it);
        if (c < r.last) it = ranges_.insert(it, Range{c + 1, r.last});
        if (c > r.first) ranges_.insert(it, Range{r.first, c - 1});
        return;
    }
}

CharSet CharSet::complement() const {
    CharSet result;
    char32_t next = 0;
    for (const Range& r : ranges_) {
        if (r.first > next) result.ranges_.push_back({next, r.first - 1});
        next = r.last + 1;
    }
    if (next <= kLastCodeUnit) result.ranges_.push_back({next, kLastCodeUnit});
    return result;
}

bool CharSet::contains(char32_t c) const {
    return std::any_of(ranges_.begin(), ranges_.end(),
                       [c](const Range& r) { return r.first <= c && c <= r.last; });
}

bool CharSet::full() const {
    return ranges_.size() == 1 && ranges_[0].first == 0 && ranges_[0].last == kLastCodeUnit;
}

}  // namespace lodestar
