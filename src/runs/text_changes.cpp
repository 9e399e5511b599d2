// Line pairing for the preview: lines compared by hash, then by text, with a short look ahead.
#include "runs/text_changes.h"

#include <algorithm>
#include <functional>

namespace lodestar {

namespace {

// How far ahead a changed line looks for a line the two texts share again: for lines added or
// removed on one side, for as many lines changed on both, and (closer) for any other mix.
constexpr std::size_t kLookAhead = 24;
constexpr std::size_t kMixedLookAhead = 8;

struct Lines {
    explicit Lines(std::u16string_view text) : text(text) {
        std::size_t at = 0;
        while (at < text.size()) {
            const std::size_t nl = text.find(u'\n', at);
            const std::size_t end = nl == std::u16string_view::npos ? text.size() : nl + 1;
            starts.push_back(at);
            hashes.push_back(std::hash<std::u16string_view>{}(text.substr(at, end - at)));
            at = end;
        }
        starts.push_back(text.size());
    }
    std::size_t count() const { return hashes.size(); }
    std::u16string_view line(std::size_t i) const {
        return text.substr(starts[i], starts[i + 1] - starts[i]);
    }
    std::u16string_view text;
    std::vector<std::size_t> starts;  // one more than the lines: the text's end
    std::vector<std::size_t> hashes;
};

// Line i of `a` and line j of `b` are the same, or both texts end there.
bool same(const Lines& a, std::size_t i, const Lines& b, std::size_t j) {
    if (i >= a.count() || j >= b.count()) return i == a.count() && j == b.count();
    return a.hashes[i] == b.hashes[j] && a.line(i) == b.line(j);
}

// How many lines of each text the change at (i, j) takes: the nearest place within the look
// ahead where the texts agree again, a line for a line when there is none.
std::pair<std::size_t, std::size_t> changedSpan(const Lines& a, std::size_t i, const Lines& b,
                                                std::size_t j) {
    if (i == a.count()) return {0, b.count() - j};
    if (j == b.count()) return {a.count() - i, 0};
    for (std::size_t s = 1; s <= kLookAhead; ++s) {
        if (same(a, i + s, b, j + s)) return {s, s};
        if (same(a, i, b, j + s)) return {0, s};
        if (same(a, i + s, b, j)) return {s, 0};
        for (std::size_t d = 1; d < s && s <= kMixedLookAhead; ++d) {
            if (same(a, i + d, b, j + s)) return {d, s};
            if (same(a, i + s, b, j + d)) return {s, d};
        }
    }
    return {1, 1};
}

TextChange changeOf(const Lines& a, std::size_t i, std::size_t n, const Lines& b, std::size_t j,
                    std::size_t m) {
    TextChange c;
    c.beforeStart = a.starts[i];
    c.beforeEnd = a.starts[i + n];
    c.afterStart = b.starts[j];
    c.afterEnd = b.starts[j + m];
    c.beforeLine = i + 1;
    c.afterLine = j + 1;
    const std::u16string_view x = a.text.substr(c.beforeStart, c.beforeEnd - c.beforeStart);
    const std::u16string_view y = b.text.substr(c.afterStart, c.afterEnd - c.afterStart);
    const std::size_t shorter = std::min(x.size(), y.size());
    while (c.sameHead < shorter && x[c.sameHead] == y[c.sameHead]) ++c.sameHead;
    while (c.sameTail < shorter - c.sameHead &&
           x[x.size() - 1 - c.sameTail] == y[y.size() - 1 - c.sameTail])
        ++c.sameTail;
    return c;
}

}  // namespace

std::vector<TextChange> changesBetween(std::u16string_view before, std::u16string_view after) {
    std::vector<TextChange> changes;
    if (before == after) return changes;
    const Lines a(before), b(after);
    std::size_t i = 0, j = 0;
    while (i < a.count() || j < b.count()) {
        if (same(a, i, b, j)) {
            ++i, ++j;
            continue;
        }
        const auto [n, m] = changedSpan(a, i, b, j);
        if (n == m) {
            for (std::size_t k = 0; k < n; ++k)
                changes.push_back(changeOf(a, i + k, 1, b, j + k, 1));
        } else {
            changes.push_back(changeOf(a, i, n, b, j, m));
        }
        i += n, j += m;
    }
    return changes;
}

std::u16string withChanges(std::u16string_view before, std::u16string_view after,
                           const std::vector<TextChange>& changes,
                           const std::vector<bool>& ticked) {
    std::u16string text;
    text.reserve(before.size());
    std::size_t at = 0;
    for (std::size_t k = 0; k < changes.size(); ++k) {
        if (k >= ticked.size() || !ticked[k]) continue;
        const TextChange& c = changes[k];
        text.append(before.substr(at, c.beforeStart - at));
        text.append(after.substr(c.afterStart, c.afterEnd - c.afterStart));
        at = c.beforeEnd;
    }
    text.append(before.substr(at));
    return text;
}

}  // namespace lodestar
