// The source view's body, whole or a piece at a time (the pieces together show what the whole
// body shows, every match found by its number), the invisible-character marks and the match list.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "core/markup_escape.h"
#include "core/text.h"
#include "render/invisible_marks.h"
#include "render/match_list.h"
#include "render/source_body.h"
#include "render/source_pieces.h"

namespace lodestar {
namespace {

const std::u16string kAnchor = u"<a id='1'></a><em>";

std::size_t occurrences(std::u16string_view text, std::u16string_view part) {
    std::size_t count = 0;
    for (std::size_t at = 0; (at = text.find(part, at)) != std::u16string_view::npos;
         at += part.size())
        ++count;
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
        {"empty matches",
         u"ab",
         {{0, 0}, {1, 0}, {2, 0}},
         u"<a id='1'></a><em></em>a<em></em>b<em></em>"},
        {"empty match right after a match",
         u"axb",
         {{1, 1}, {2, 0}},
         u"a<a id='1'></a><em>x</em><em></em>b"},
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

TEST(MatchList, HtmlEscapeTouchesOnlyAmpersandsAngleBracketsAndSpaces) {
    EXPECT_EQ(escapeMarkup(u"&lt; a>b", {false, false, true}), u"&amp;lt;&nbsp;a&gt;b");
    EXPECT_EQ(escapeMarkup(u"\"'\t\r\n", {false, false, true}), u"\"'\t\r\n");
    EXPECT_EQ(escapeMarkup(u"\"'"), u"&quot;&#39;");
}

// What a page shows for a fragment: its text (references decoded, with or without their
// semicolon), per data-k the text of its em element, per character its highlight elements.
struct Shown {
    std::u16string text;
    std::map<long long, std::u16string> marks;
    std::string styles;
    std::map<char16_t, int> open;
};

void readPiece(const std::u16string& html, Shown& shown) {
    long long mark = -1;
    for (std::size_t p = 0; p < html.size();) {
        if (html[p] == u'<') {
            const std::size_t end = html.find(u'>', p);
            const std::u16string tag = html.substr(p, end - p + 1);
            if (tag.rfind(u"<em data-k=", 0) == 0) {
                mark = std::stoll(toUtf8(tag.substr(11, tag.size() - 12)));
                shown.marks[mark];  // an empty match still has its element
            } else if (tag == u"</em>") {
                mark = -1;
            } else if (tag.size() == 3 || tag.size() == 4) {
                int& n = shown.open[tag[tag.size() - 2]];
                n = tag[1] != u'/' ? n + 1 : std::max(0, n - 1);
            }
            p = end + 1;
            continue;
        }
        std::u16string c(1, html[p++]);
        for (auto [ref, ch] : {std::pair{u"&lt", u"<"}, {u"&gt", u">"}, {u"&amp", u"&"}}) {
            if (html.compare(p - 1, std::u16string(ref).size(), ref) == 0) {
                c = ch;
                p += std::u16string(ref).size() - 1;
                if (p < html.size() && html[p] == u';') ++p;
                break;
            }
        }
        shown.text += c;
        if (mark >= 0) shown.marks[mark] += c;
        for (char16_t kind : {u'b', u'i', u'u', u's'})
            if (shown.open[kind] > 0) shown.styles += static_cast<char>(kind);
        shown.styles += ' ';
    }
}

// Every element a piece opens it closes again.
bool balanced(const std::u16string& html) {
    std::map<std::u16string, int> open;
    for (std::size_t p = html.find(u'<'); p != std::u16string::npos; p = html.find(u'<', p + 1)) {
        const bool closing = html[p + 1] == u'/';
        std::size_t name = p + (closing ? 2 : 1);
        std::size_t end = html.find_first_of(u" >", name);
        open[html.substr(name, end - name)] += closing ? -1 : 1;
    }
    for (const auto& [name, count] : open)
        if (count != 0) return false;
    return true;
}

TEST(SourcePieces, ThePiecesShowTheTextAndEveryMatchWhole) {
    std::u16string markup;
    for (int i = 0; i < 40; ++i)
        markup += u"<a href=\"x" + decimal(i) + u"\">link & <!-- note\nacross -->\n";
    const std::u16string longLine(5000, u'w');
    struct {
        const char* name;
        std::u16string text;
        std::vector<MatchSpan> spans;
        bool invisible;
        std::size_t maxLines, maxCharacters;
    } const cases[] = {
        {"markup, matches inside tags and across line breaks",
         markup,
         {{1, 7}, {20, 30}, {95, 120}, {400, 0}, {700, 3}},
         false,
         3,
         16384},
        {"one line per piece", u"ab\ncd\nef\n", {{1, 3}, {6, 0}, {9, 0}}, false, 1, 16384},
        {"invisible characters", u"a b\r\n\tc\r\n", {{0, 3}, {5, 2}}, true, 1, 16384},
        {"a long line cut inside a match", longLine, {{10, 4000}, {4500, 10}}, false, 50, 700},
        {"empty matches at every position",
         u"xyz\nxy",
         {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}},
         false,
         1,
         16384},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::u16string body = renderSourceBody(c.text, c.spans, c.invisible);
        const SourceLayout layout(c.text, c.spans, c.invisible, c.maxLines, c.maxCharacters);
        Shown whole, cut;
        readPiece(body, whole);
        std::u16string joined;
        std::size_t marksBefore = 0;
        for (std::size_t p = 0; p < layout.pieceCount(); ++p) {
            const std::u16string html = layout.pieceHtml(c.text, c.spans, p);
            EXPECT_TRUE(balanced(html)) << toUtf8(html);
            EXPECT_EQ(layout.piece(p).firstMark, marksBefore);
            Shown one;
            readPiece(html, one);
            for (const auto& [k, text] : one.marks)
                if (k >= static_cast<long long>(marksBefore)) marksBefore = k + 1;
            readPiece(html, cut);
            joined += html;
        }
        EXPECT_GT(layout.pieceCount(), 1u);
        EXPECT_EQ(toUtf8(cut.text), toUtf8(whole.text));
        EXPECT_EQ(cut.styles, whole.styles);
        ASSERT_EQ(layout.markCount(), c.spans.size());
        ASSERT_EQ(cut.marks.size(), c.spans.size());
        // Each mark holds exactly what the unsplit body shows for its match.
        for (std::size_t k = 0; k < c.spans.size() && !c.invisible; ++k)
            EXPECT_EQ(toUtf8(cut.marks[static_cast<long long>(k)]),
                      toUtf8(c.text.substr(c.spans[k].index, c.spans[k].length)))
                << "mark " << k;
    }
}

// A piece starts with the highlighter where the text before it left it: inside a comment, a tag
// or a quoted value, and a cut between "<" and "!--" still starts a comment.
TEST(SourcePieces, EachCharacterIsHighlightedAsInTheWholeBody) {
    const std::u16string text = u"<!-- a\nb --><p class=\"x\ny\">z</p>\n<!--c-->\n<<b x='1'>";
    const std::vector<MatchSpan> spans = {{3, 6}, {20, 0}, {24, 9}};
    for (std::size_t width : {2u, 3u, 5u, 1000u}) {
        for (std::size_t lines : {1u, 2u}) {
            for (bool invisible : {false, true}) {
                const SourceLayout layout(text, spans, invisible, lines, width);
                Shown whole, cut;
                readPiece(renderSourceBody(text, spans, invisible), whole);
                for (std::size_t p = 0; p < layout.pieceCount(); ++p)
                    readPiece(layout.pieceHtml(text, spans, p), cut);
                SCOPED_TRACE(std::to_string(width) + " " + std::to_string(lines));
                EXPECT_EQ(toUtf8(cut.text), toUtf8(whole.text));
                EXPECT_EQ(cut.styles, whole.styles);
                EXPECT_EQ(cut.marks.size(), spans.size());
            }
        }
    }
}

// The match list's entries as the page shows them: number, line:column, and the line around the
// match with the match marked.
// The text a page shows for an entry list: tags dropped, the references used decoded, one line
// per entry; the match between "[" and "]".
std::string shown(const std::u16string& html) {
    std::string text = toUtf8(html);
    const std::pair<const char*, const char*> steps[] = {
        {"</li>", "\n"}, {"<em>", "["}, {"</em>", "]"}, {"</span>", " "}, {"<[^>]*>", ""},
        {"&nbsp;", " "}, {"&lt;", "<"}, {"&gt;", ">"},  {"&amp;", "&"}};
    for (const auto& [from, to] : steps) text = std::regex_replace(text, std::regex(from), to);
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
