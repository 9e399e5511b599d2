// Lines and columns of matches as the user counts them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "search/match_positions.h"

namespace lodestar {
namespace {

struct PositionCase {
    const char* name;
    std::u16string text;
    std::vector<MatchSpan> spans;
    std::vector<std::pair<std::size_t, std::size_t>> expected;  // line, column
};

TEST(MatchPositions, CountLinesAndCharactersFromOne) {
    const std::vector<PositionCase> cases = {
        {"first character", u"abc", {{0, 1}}, {{1, 1}}},
        {"many on one line", u"x x x", {{0, 1}, {2, 1}, {4, 1}}, {{1, 1}, {1, 3}, {1, 5}}},
        {"line feeds", u"a\nbb\nccc", {{2, 2}, {6, 1}}, {{2, 1}, {3, 2}}},
        {"CR LF lines", u"a\r\nb x\r\n", {{5, 1}, {3, 1}}, {{2, 3}, {2, 1}}},
        {"a pair is one character",
         u"\U0001F600x\n\U0001F600\U0001F600y",
         {{2, 1}, {8, 1}},
         {{1, 2}, {2, 3}}},
        {"empty match on an empty line", u"a\n\nb", {{2, 0}}, {{2, 1}}},
        {"empty match after the final break", u"ab\n", {{2, 0}, {3, 0}}, {{1, 3}, {2, 1}}},
        {"a match across lines counts from its start",
         u"ab\ncd",
         {{1, 3}, {4, 1}},
         {{1, 2}, {2, 2}}},
    };
    for (const PositionCase& c : cases) {
        const std::vector<TextPosition> got = matchPositions(c.text, c.spans);
        ASSERT_EQ(got.size(), c.expected.size()) << c.name;
        for (std::size_t k = 0; k < got.size(); ++k) {
            EXPECT_EQ(got[k].line, c.expected[k].first) << c.name << " #" << k;
            EXPECT_EQ(got[k].column, c.expected[k].second) << c.name << " #" << k;
        }
    }
}

// A long line of many matches: each column follows from the one before it, and still agrees
// with counting from the line's start.
TEST(MatchPositions, ColumnsOfALongLineAgreeWithCountingFromItsStart) {
    std::u16string text = u"head\n";
    std::vector<MatchSpan> spans;
    for (int i = 0; i < 2000; ++i) {
        if (i % 7 == 0) text += u"\U0001F600";
        spans.push_back({text.size(), 1});
        text += u"x ";
    }
    const std::vector<TextPosition> got = matchPositions(text, spans);
    for (std::size_t k = 0; k < spans.size(); k += 97) {
        EXPECT_EQ(got[k].line, 2u);
        EXPECT_EQ(got[k].column,
                  1 + characterCount(std::u16string_view(text).substr(5, spans[k].index - 5)));
    }
}

}  // namespace
}  // namespace lodestar
