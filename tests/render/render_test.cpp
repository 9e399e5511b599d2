// The source view's body, the invisible-character marks and the match list fragment.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "core/markup_escape.h"
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

TEST(SourceBody, ShowsInvisibleCharactersAfterHighlighting) {
    // A match over a CR LF line end keeps both marks and the line break inside its element.
    EXPECT_EQ(renderSourceBody(u"a\r\nb", {{1, 2}}, true),
              u"a<a id='1'></a><em>\u2193\u300F\n</em>b");
    // A space shown as a dot still separates the tag name from its attributes, so they keep
    // their colours; a tab is no separator, shown or not.
    EXPECT_EQ(renderSourceBody(u"<a b\tc d='1'>", {}, true),
              u"&lt;<b>a</b><i>\u00B7b______ c</i>\u00B7d='<u>1</u>'&gt;");
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

TEST(SourceBody, ShortBodiesGoIntoTheLoadedPage) {
    EXPECT_EQ(wrapShortBody(u"x"), u"<pre id=code>x</pre>");
    EXPECT_TRUE(fitsLoadedPage(std::u16string(64000, u'x')));
    EXPECT_FALSE(fitsLoadedPage(std::u16string(64001, u'x')));
}

TEST(InvisibleMarks, MarksLineEndsSpacesAndTabs) {
    EXPECT_EQ(toInvisibleMarks(u"a b\t\r\n"), u"a\u00B7b______ \u2193\u300F\n");
    EXPECT_EQ(toInvisibleMarks(u"\n\n"), u"\u300F\n\u300F\n");
    EXPECT_EQ(toInvisibleMarks(u"x\u00B7"), u"x\u00B7");
}

TEST(MatchList, EscapesValuesAndNumbersEntriesFromOne) {
    EXPECT_EQ(matchListFragment({u"a<b", u"c d"}),
              u"<li onclick=setValue(1)>a&lt;b<li onclick=setValue(2)>c&nbsp;d</ol>"
              u"<input id='idx' value=0 type=hidden>");
    EXPECT_EQ(matchListFragment({}), u"</ol><input id='idx' value=0 type=hidden>");
    EXPECT_EQ(
        occurrences(matchListFragment(std::vector<std::u16string>(12, u"")), u"setValue(12)>"), 1u);
}

TEST(MatchList, HtmlEscapeTouchesOnlyAmpersandsAngleBracketsAndSpaces) {
    EXPECT_EQ(escapeMarkup(u"&lt; a>b", {false, false, true}), u"&amp;lt;&nbsp;a&gt;b");
    EXPECT_EQ(escapeMarkup(u"\"'\t\r\n", {false, false, true}), u"\"'\t\r\n");
    EXPECT_EQ(escapeMarkup(u"\"'"), u"&quot;&#39;");
}

}  // namespace
