// The match list's entries as the page shows them: number, line:column, and the line around the
// match with the match marked.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "core/text.h"
#include "render/match_list.h"

namespace lodestar {
namespace {

// The text a page shows for an entry list: tags dropped, the references used decoded, one line
// per entry; the match between "[" and "]".
std::string shown(const std::u16string& html) {
    std::string text = toUtf8(html);
    text = std::regex_replace(text, std::regex("</li>"), "\n");
    text = std::regex_replace(text, std::regex("<em>"), "[");
    text = std::regex_replace(text, std::regex("</em>"), "]");
    text = std::regex_replace(text, std::regex("</span>"), " ");
    text = std::regex_replace(text, std::regex("<[^>]*>"), "");
    text = std::regex_replace(text, std::regex("&nbsp;"), " ");
    text = std::regex_replace(text, std::regex("&lt;"), "<");
    text = std::regex_replace(text, std::regex("&gt;"), ">");
    text = std::regex_replace(text, std::regex("&amp;"), "&");
    return text;
}

std::string entriesOf(const std::u16string& text, const std::vector<MatchSpan>& spans) {
    return shown(matchListEntries(text, spans, matchPositions(text, spans), 0, spans.size()));
}

TEST(MatchListEntries, ShowLineColumnAndTheLineAroundTheMatch) {
    struct Case {
        const char* name;
        std::u16string text;
        std::vector<MatchSpan> spans;
        std::string expected;
    };
    const std::u16string longLine(100, u'a');
    const std::vector<Case> cases = {
        {"a match in its line", u"one\nsay <b> & go\n", {{8, 3}}, "1 2:5 say [<b>] & go \n"},
        {"an empty match shows where it is", u"ab\ncd", {{4, 0}}, "1 2:2 c[]d \n"},
        {"a match over lines stays one row", u"ab\r\ncd", {{1, 4}}, "1 1:2 a[b\u21B5c]d \n"},
        {"tabs and runs of spaces", u"a\t  b", {{4, 1}}, "1 1:5 a   [b] \n"},
        {"long context is cut",
         longLine + u"X" + longLine,
         {{100, 1}},
         "1 1:101 \u2026" + std::string(32, 'a') + "[X]" + std::string(64, 'a') + "\u2026 \n"},
        {"a cut never halves a character",
         u"b\U0001F600" + std::u16string(31, u'a') + u"X",
         {{34, 1}},
         "1 1:34 \u2026" + std::string(31, 'a') + "[X] \n"},
    };
    for (const Case& c : cases) EXPECT_EQ(entriesOf(c.text, c.spans), c.expected) << c.name;
}

// Each entry carries its whole number however many digits it has, and one "li" per entry,
// so the pane's entry count and the page's numbering agree.
TEST(MatchListEntries, NumbersAreWholeAndEntriesCountedByTheirIndex) {
    std::u16string text;
    std::vector<MatchSpan> spans;
    for (int i = 0; i < 14000; ++i) {
        spans.push_back({text.size(), 1});
        text += u"x\n";
    }
    const std::u16string html =
        matchListEntries(text, spans, matchPositions(text, spans), 13752, 13754);
    EXPECT_EQ(shown(html), "13753 13753:1 [x] \n13754 13754:1 [x] \n");
    EXPECT_NE(html.find(u"data-k=13752 onclick=setValue(13753)"), std::u16string::npos);
    EXPECT_EQ(shown(matchListEntries(text, spans, matchPositions(text, spans), 13999, 20000)),
              "14000 14000:1 [x] \n");
}

}  // namespace
}  // namespace lodestar
