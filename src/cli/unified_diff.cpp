// Lines compared by the linear-space form of Myers' difference algorithm, then printed as the
// hunks of a unified diff.
#include "cli/unified_diff.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

namespace lodestar::cli {

namespace {

std::vector<std::string_view> splitLines(std::string_view bytes) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
        lines.push_back(bytes.substr(start, next - start));
        start = next;
    }
    return lines;
}

// Beyond this many differences in one stretch the search takes the furthest point reached as
// its split: the diff stays correct, only not the smallest, and the time stays bounded.
constexpr long kMostDifferences = 1000;

// Compares two sequences of line numbers (equal lines share a number) and marks the lines that
// are removed from the first and added to the second.
class LineDiffer {
    const std::vector<int>& a_;
    const std::vector<int>& b_;

  public:
    LineDiffer(const std::vector<int>& a, const std::vector<int>& b)
        : a_(a),
          b_(b),
          removed(a.size(), false),
          added(b.size(), false),
          forward_(2 * (a.size() + b.size()) + 3),
          backward_(forward_.size()) {}

    void compare(long a0, long a1, long b0, long b1) {
        while (a0 < a1 && b0 < b1 && a_[a0] == b_[b0]) ++a0, ++b0;
        while (a0 < a1 && b0 < b1 && a_[a1 - 1] == b_[b1 - 1]) --a1, --b1;
        if (a0 == a1 || b0 == b1) {
            markAll(a0, a1, b0, b1);
            return;
        }
        long x = 0;
        long y = 0;
        split(a0, a1, b0, b1, x, y);
        // A split that is no step forward (or that a search outside the stretch gave) takes the
        // whole stretch as changed.
        if (x < a0 || x > a1 || y < b0 || y > b1 || (x == a0 && y == b0) || (x == a1 && y == b1)) {
            markAll(a0, a1, b0, b1);
            return;
        }
        compare(a0, x, b0, y);
        compare(x, a1, y, b1);
    }

    std::vector<bool> removed;
    std::vector<bool> added;

  private:
    void markAll(long a0, long a1, long b0, long b1) {
        for (long i = a0; i < a1; ++i) removed[i] = true;
        for (long j = b0; j < b1; ++j) added[j] = true;
    }

    long& fwd(long k) { return forward_[k + offset()]; }
    long& bwd(long k) { return backward_[k + offset()]; }
    long offset() const { return static_cast<long>(forward_.size() / 2); }

    // A point on a shortest path through the stretch (or, past kMostDifferences, the furthest
    // point the forward search reached), in absolute line numbers.
    void split(long a0, long a1, long b0, long b1, long& sx, long& sy) {
        const long n = a1 - a0;
        const long m = b1 - b0;
        const long delta = n - m;
        const bool odd = (delta & 1) != 0;
        fwd(1) = 0;
        bwd(1) = 0;
        long bestX = 0;
        long bestY = 0;
        for (long d = 0; d <= (n + m + 1) / 2; ++d) {
            if (d > kMostDifferences) break;
            for (long k = -d; k <= d; k += 2) {
                long x =
                    (k == -d || (k != d && fwd(k - 1) < fwd(k + 1))) ? fwd(k + 1) : fwd(k - 1) + 1;
                long y = x - k;
                while (x < n && y < m && a_[a0 + x] == b_[b0 + y]) ++x, ++y;
                fwd(k) = x;
                if (x <= n && y <= m && y >= 0 && x + y > bestX + bestY) bestX = x, bestY = y;
                const long back = delta - k;
                if (odd && back >= -(d - 1) && back <= d - 1 && x + bwd(back) >= n) {
                    sx = a0 + x;
                    sy = b0 + y;
                    return;
                }
            }
            for (long k = -d; k <= d; k += 2) {
                long x =
                    (k == -d || (k != d && bwd(k - 1) < bwd(k + 1))) ? bwd(k + 1) : bwd(k - 1) + 1;
                long y = x - k;
                while (x < n && y < m && a_[a1 - 1 - x] == b_[b1 - 1 - y]) ++x, ++y;
                bwd(k) = x;
                const long ahead = delta - k;
                if (!odd && ahead >= -d && ahead <= d && x + fwd(ahead) >= n) {
                    sx = a1 - x;
                    sy = b1 - y;
                    return;
                }
            }
        }
        sx = a0 + std::min(bestX, n);
        sy = b0 + std::min(bestY, m);
    }

    std::vector<long> forward_;
    std::vector<long> backward_;
};

std::string quotedName(std::string_view name) {
    const bool plain = std::none_of(name.begin(), name.end(), [](char c) {
        return c == ' ' || c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20 ||
               c == 0x7F;
    });
    if (plain) return std::string(name);
    std::string quoted = "\"";
    for (char c : name) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (c == '\t') {
            quoted += "\\t";
        } else if (c == '\n') {
            quoted += "\\n";
        } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            char octal[8];
            std::snprintf(octal, sizeof octal, "\\%03o", static_cast<unsigned char>(c));
            quoted += octal;
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

// "-START,COUNT" as diff writes it: the count left out when it is 1, the line before the
// range named when the range is empty.
std::string range(char sign, std::size_t start, std::size_t count) {
    std::string text(1, sign);
    text += std::to_string(count == 0 ? start : start + 1);
    if (count != 1) text += "," + std::to_string(count);
    return text;
}

void addLine(std::string& diff, char sign, std::string_view line) {
    diff += sign;
    diff += line;
    if (line.empty() || line.back() != '\n') diff += "\n\\ No newline at end of file\n";
}

}  // namespace

std::vector<LineChange> lineChanges(std::string_view before, std::string_view after) {
    const std::vector<std::string_view> oldLines = splitLines(before);
    const std::vector<std::string_view> newLines = splitLines(after);
    std::unordered_map<std::string_view, int> numbers;
    auto numbered = [&](const std::vector<std::string_view>& lines) {
        std::vector<int> result;
        result.reserve(lines.size());
        for (std::string_view line : lines)
            result.push_back(numbers.emplace(line, static_cast<int>(numbers.size())).first->second);
        return result;
    };
    const std::vector<int> a = numbered(oldLines);
    const std::vector<int> b = numbered(newLines);
    LineDiffer differ(a, b);
    differ.compare(0, static_cast<long>(a.size()), 0, static_cast<long>(b.size()));

    std::vector<LineChange> changes;
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() || j < b.size()) {
        if (i < a.size() && j < b.size() && !differ.removed[i] && !differ.added[j]) {
            ++i, ++j;
            continue;
        }
        LineChange change{i, 0, j, 0};
        while (i < a.size() && differ.removed[i]) ++i, ++change.oldCount;
        while (j < b.size() && differ.added[j]) ++j, ++change.newCount;
        changes.push_back(change);
    }
    return changes;
}

bool diffsAsBinary(std::string_view bytes) {
    return bytes.find('\0') != std::string_view::npos || bytes.starts_with("\xFF\xFE") ||
           bytes.starts_with("\xFE\xFF");
}

std::string unifiedDiff(std::string_view name, std::string_view before, std::string_view after,
                        std::size_t context) {
    if (before == after) return {};
    const std::string shown = quotedName(name);
    if (diffsAsBinary(before) || diffsAsBinary(after))
        return "Binary files " + shown + " and " + shown + " differ\n";
    const std::vector<std::string_view> oldLines = splitLines(before);
    const std::vector<std::string_view> newLines = splitLines(after);
    const std::vector<LineChange> changes = lineChanges(before, after);
    std::string diff = "--- " + shown + "\n+++ " + shown + "\n";
    for (std::size_t first = 0; first < changes.size();) {
        // A hunk takes the following changes while the lines between them are no more than
        // its context before and after.
        std::size_t last = first;
        while (last + 1 < changes.size() &&
               changes[last + 1].oldStart - (changes[last].oldStart + changes[last].oldCount) <=
                   2 * context)
            ++last;
        const std::size_t lead = std::min(context, changes[first].oldStart);
        const std::size_t oldStart = changes[first].oldStart - lead;
        const std::size_t newStart = changes[first].newStart - lead;
        const std::size_t oldEnd =
            std::min(oldLines.size(), changes[last].oldStart + changes[last].oldCount + context);
        std::string body;
        std::size_t newCount = oldEnd - oldStart;
        std::size_t line = oldStart;
        for (std::size_t c = first; c <= last; ++c) {
            for (; line < changes[c].oldStart; ++line) addLine(body, ' ', oldLines[line]);
            for (std::size_t k = 0; k < changes[c].oldCount; ++k)
                addLine(body, '-', oldLines[line + k]);
            for (std::size_t k = 0; k < changes[c].newCount; ++k)
                addLine(body, '+', newLines[changes[c].newStart + k]);
            line += changes[c].oldCount;
            newCount = newCount - changes[c].oldCount + changes[c].newCount;
        }
        for (; line < oldEnd; ++line) addLine(body, ' ', oldLines[line]);
        diff += "@@ " + range('-', oldStart, oldEnd - oldStart) + " " +
                range('+', newStart, newCount) + " @@\n" + body;
        first = last + 1;
    }
    return diff;
}

}  // namespace lodestar::cli
