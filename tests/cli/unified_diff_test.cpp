// The line diff behind --dry-run: its changes rebuild the new text, are as few as the longest
// common subsequence allows, and its hunks are those diff -u prints.
#include "cli/unified_diff.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace lodestar::cli {
namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size() - 1) + 1;
        lines.push_back(text.substr(at, end - at));
        at = end;
    }
    return lines;
}

std::size_t fewestChangedLines(const std::vector<std::string>& a,
                               const std::vector<std::string>& b) {
    std::vector<std::vector<std::size_t>> common(a.size() + 1,
                                                 std::vector<std::size_t>(b.size() + 1, 0));
    for (std::size_t i = a.size(); i-- > 0;)
        for (std::size_t j = b.size(); j-- > 0;)
            common[i][j] = a[i] == b[j] ? common[i + 1][j + 1] + 1
                                        : std::max(common[i + 1][j], common[i][j + 1]);
    return a.size() + b.size() - 2 * common[0][0];
}

std::string randomText(std::mt19937& random, std::size_t lines) {
    const std::vector<std::string> pieces{"a\n", "b\n", "c\r\n", "caf\xC3\xA9\n", "\n", "b"};
    std::string text;
    for (std::size_t i = 0; i < lines; ++i) text += pieces[random() % (pieces.size() - 1)];
    if (random() % 3 == 0) text += pieces.back();  // a last line without a line feed
    return text;
}

// Lines with random changes: the changes rebuild the new text from the old, and no shorter
// set of changed lines exists; past the search's bound (long texts changed throughout) they
// still rebuild it.
TEST(UnifiedDiff, ChangesRebuildTheNewTextWithTheFewestChangedLines) {
    std::mt19937 random(5);
    for (int round = 0; round < 400; ++round) {
        const bool large = round >= 390;
        const std::size_t size = large ? 3000 : random() % 30;
        const std::string before = randomText(random, size);
        const std::string after = randomText(random, large ? size : random() % 30);
        const std::vector<std::string> a = linesOf(before);
        const std::vector<std::string> b = linesOf(after);
        const std::vector<LineChange> changes = lineChanges(before, after);
        std::string rebuilt;
        std::size_t at = 0;
        std::size_t changed = 0;
        for (const LineChange& change : changes) {
            ASSERT_GE(change.oldStart, at);
            for (; at < change.oldStart; ++at) rebuilt += a[at];
            for (std::size_t k = 0; k < change.newCount; ++k) rebuilt += b[change.newStart + k];
            at += change.oldCount;
            changed += change.oldCount + change.newCount;
        }
        for (; at < a.size(); ++at) rebuilt += a[at];
        ASSERT_EQ(rebuilt, after) << before;
        if (!large) {
            EXPECT_EQ(changed, fewestChangedLines(a, b)) << before << "\n----\n" << after;
        }
    }
}

}  // namespace
}  // namespace lodestar::cli
