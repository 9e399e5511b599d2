// The source view's body, the invisible-character marks and the match list fragment.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "core/text.h"
#include "render/invisible_marks.h"
#include "render/match_list.h"
#include "render/source_body.h"

using namespace lodestar;

namespace {

const std::u16string kAnchor = u"<a id='1'></a><em>";

std::size_t occurrences(std::u16string_view text, std::u16string_view part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::u16string_view::npos;
         at = text.find(part, at + part.size())) {
        ++count;
    }
    return count;
}

TEST(SourceBody, MarksEachMatchAndAnchorsOnlyTheFirst) {
    struct {
        const char* name;
        std::u16string text;
        std::vector<MatchSpan> spans;
        std::u16string body;
    } const cases[] = {
        {"no matches", u"<p>a</p>", {}, u"&lt;<b>p</b>&gt;a&lt;<b>/p</b>&gt;"},
        {"one match", u"say hello", {{4, 5}}, u"say <a id='1'></a><em>hello</em>"},
        {"two matches", u"a-b", {{0, 1}, {2, 1}}, u"<a id='1'></a><em>a</em>-<em>b</em>"},
        {"empty matches",
         u"ab",
         {{0, 0}, {1, 0}, {2, 0}},
         u"<a id='1'></a><em></em>a<em></em>b<em></em>"},
        {"empty match right after a match",
         u"axb",
         {{1, 1}, {2, 0}},
         u"a<a id='1'></a><em>x</em><em></em>b"},
        {"text's own match markers", u"x[m]y[/m]", {}, u"x[m]y[/m]"},
        {"text's own markers beside a match",
         u"[m]y[/m]",
         {{3, 1}},
         u"[m]<a id='1'></a><em>y</em>[/m]"},
        {"escaped characters inside a match",
         u"a<b & c",
         {{1, 5}},
         u"a<a id='1'></a><em>&lt;<b>b</b><i> &amp;</i> </em>c"},
        {"match inside an attribute and its value",
         u"<a href=\"x\">",
         {{3, 8}},
         u"&lt;<b>a</b><i> </i><a id='1'></a><em><i>href</i>=\"<u>x</u>\"</em>&gt;"},
        {"match ending inside a tag name",
         u"x<abc d>",
         {{0, 3}},
         u"<a id='1'></a><em>x&lt;<b>a</b></em><b>bc</b><i> d</i>&gt;"},
        {"reserved characters of the input are dropped",
         u"a\uFDD0b\uFDD1c",
         {{2, 1}},
         u"a<a id='1'></a><em>b</em>c"},
    };
    for (const auto& c : cases) {
        const std::u16string body = renderSourceBody(c.text, c.spans, false);
        EXPECT_EQ(toUtf8(body), toUtf8(c.body)) << c.name;
        EXPECT_EQ(occurrences(body, kAnchor), c.spans.empty() ? 0u : 1u) << c.name;
        EXPECT_EQ(occurrences(body, u"<em>"), c.spans.size()) << c.name;
    }
}

TEST(SourceBody, ShowsInvisibleCharactersBeforeHighlighting) {
    // A match over a CR LF line end keeps both marks and the line break inside its element.
    EXPECT_EQ(renderSourceBody(u"a\r\nb", {{1, 2}}, true),
              u"a<a id='1'></a><em>\u2193\u300F\n</em>b");
    // Spaces shown as dots no longer separate attribute names; the tab's space still does.
    EXPECT_EQ(renderSourceBody(u"<a b\tc>", {}, true), u"&lt;<b>a\u00B7b______</b><i> c</i>&gt;");
}

TEST(SourceBody, RejectsMatchPositionsOutsideTheTextOrOverlapping) {
    EXPECT_THROW(renderSourceBody(u"abc", {{2, 2}}, false), RenderError);
    EXPECT_THROW(renderSourceBody(u"abc", {{4, 0}}, false), RenderError);
    EXPECT_THROW(renderSourceBody(u"abc", {{0, 2}, {1, 1}}, false), RenderError);
    EXPECT_NO_THROW(renderSourceBody(u"abc", {{3, 0}}, false));
}

// True when no b, i, u or s element is open at any em tag: each start tag opens one, each end
// tag closes one if any is open, as a page parser counts them. Then no parser splits an em.
bool emTagsStandOutsideHighlighting(std::u16string_view body) {
    int open[128] = {};
    for (std::size_t p = body.find(u'<'); p != std::u16string_view::npos;
         p = body.find(u'<', p + 1)) {
        const bool closing = body[p + 1] == u'/';
        const std::u16string_view name = body.substr(p + (closing ? 2 : 1), 2);
        if (name == u"em") {
            for (char kind : {'b', 'i', 'u', 's'})
                if (open[static_cast<int>(kind)] != 0) return false;
        } else if (name[1] == u'>') {
            int& count = open[name[0] & 127];
            count = closing ? std::max(0, count - 1) : count + 1;
        }
    }
    return true;
}

TEST(SourceBody, KeepsOneWholeElementPerMatchOnRandomMarkup) {
    const std::u16string alphabet = u"<>!-='\"  ab&[]\r\n";
    std::mt19937 random(7);
    for (int round = 0; round < 5000; ++round) {
        std::u16string text;
        const std::size_t length = random() % 40;
        for (std::size_t k = 0; k < length; ++k) text += alphabet[random() % alphabet.size()];
        std::vector<MatchSpan> spans;
        for (std::size_t at = random() % 6; at <= text.size(); at += 1 + random() % 6) {
            const std::size_t span = std::min<std::size_t>(random() % 8, text.size() - at);
            spans.push_back({at, span});
            at += span;
        }
        const std::u16string body = renderSourceBody(text, spans, false);
        ASSERT_EQ(occurrences(body, u"<em>"), spans.size()) << toUtf8(body);
        ASSERT_EQ(occurrences(body, u"</em>"), spans.size()) << toUtf8(body);
        ASSERT_TRUE(emTagsStandOutsideHighlighting(body)) << toUtf8(body);
    }
}

TEST(InvisibleMarks, MarksLineEndsSpacesAndTabs) {
    EXPECT_EQ(toInvisibleMarks(u"a b\t\r\n\n"), u"a\u00B7b______ \u2193\u300F\n\u300F\n");
    EXPECT_EQ(toInvisibleMarks(u"x\u00B7"), u"x\u00B7");
}

// The values are escaped and the entries numbered from one.
TEST(MatchList, EscapesValuesAndNumbersEntriesFromOne) {
    const std::u16string list = matchListFragment({u"a<b", u"c d", u""});
    EXPECT_NE(list.find(u"setValue(1)>a&lt;b<li"), std::u16string::npos) << toUtf8(list);
    EXPECT_NE(list.find(u"setValue(2)>c&nbsp;d<li"), std::u16string::npos) << toUtf8(list);
    EXPECT_EQ(occurrences(list, u"<li onclick=setValue("), 3u);
}

TEST(MatchList, HtmlEscapeTouchesOnlyAmpersandsAngleBracketsAndSpaces) {
    EXPECT_EQ(htmlEscape(u"&lt; a>b"), u"&amp;lt;&nbsp;a&gt;b");
    EXPECT_EQ(htmlEscape(u"\"'\t\r\n"), u"\"'\t\r\n");
}

}  // namespace
