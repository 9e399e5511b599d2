// The source view a piece at a time: each piece stands on its own, the pieces together show what
// the whole body shows, and every match is found by its number however many pieces it spans.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "core/text.h"
#include "render/source_body.h"
#include "render/source_pieces.h"

using namespace lodestar;

namespace {

// The text a page shows for a fragment (tags dropped; the highlighter's references decoded,
// with or without their semicolon),
// and per data-k the text inside its em elements.
// and per character which highlight elements (b, i, u, s) it shows in.
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

TEST(SourcePieces, AMatchSpanningACutIsTwoElementsOfOneMark) {
    const std::u16string text = u"one\ntwo\nthree\n";
    const SourceLayout layout(text, {{2, 4}}, false, 1, 16384);
    ASSERT_EQ(layout.pieceCount(), 3u);
    EXPECT_EQ(toUtf8(layout.pieceHtml(text, {{2, 4}}, 0)), "on<a id='1'></a><em data-k=0>e\n</em>");
    EXPECT_EQ(toUtf8(layout.pieceHtml(text, {{2, 4}}, 1)), "<em data-k=0>tw</em>o\n");
    EXPECT_EQ(layout.piece(1).firstMark, 1u);
    EXPECT_EQ(layout.piece(0).lines, 1u);
    EXPECT_EQ(layout.piece(2).lines, 1u);
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

}  // namespace
