// Cutting the source view's body into pieces: each piece stands on its own, the pieces together
// show the text, and every match is found by its number however many pieces it spans.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/text.h"
#include "search/source_body.h"
#include "search/source_pieces.h"

using namespace lodestar;

namespace {

// The text a page shows for a fragment (tags dropped; the highlighter's references decoded,
// with or without their semicolon),
// and per data-k the text inside its em elements.
struct Shown {
    std::u16string text;
    std::map<long long, std::u16string> marks;
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
        const SourcePieces pieces = splitSourceBody(body, c.maxLines, c.maxCharacters);
        Shown whole, cut;
        readPiece(body, whole);
        std::size_t marksBefore = 0;
        for (const SourcePiece& piece : pieces.pieces) {
            EXPECT_TRUE(balanced(piece.html)) << toUtf8(piece.html);
            EXPECT_EQ(piece.firstMark, marksBefore);
            Shown one;
            readPiece(piece.html, one);
            for (const auto& [k, text] : one.marks)
                if (k >= static_cast<long long>(marksBefore)) marksBefore = k + 1;
            readPiece(piece.html, cut);
        }
        EXPECT_GT(pieces.pieces.size(), 1u);
        EXPECT_EQ(toUtf8(cut.text), toUtf8(whole.text));
        ASSERT_EQ(pieces.markCount, c.spans.size());
        ASSERT_EQ(cut.marks.size(), c.spans.size());
        // Each mark holds exactly what the unsplit body shows for its match.
        for (std::size_t k = 0; k < c.spans.size() && !c.invisible; ++k)
            EXPECT_EQ(toUtf8(cut.marks[static_cast<long long>(k)]),
                      toUtf8(c.text.substr(c.spans[k].index, c.spans[k].length)))
                << "mark " << k;
    }
}

TEST(SourcePieces, AMatchSpanningACutIsTwoElementsOfOneMark) {
    const std::u16string body = renderSourceBody(u"one\ntwo\nthree\n", {{2, 4}}, false);
    const SourcePieces pieces = splitSourceBody(body, 1, 16384);
    ASSERT_EQ(pieces.pieces.size(), 3u);
    EXPECT_EQ(toUtf8(pieces.pieces[0].html), "on<a id='1'></a><em data-k=0>e\n</em>");
    EXPECT_EQ(toUtf8(pieces.pieces[1].html), "<em data-k=0>tw</em>o\n");
    EXPECT_EQ(pieces.pieces[1].firstMark, 1u);
    EXPECT_EQ(pieces.pieces[0].lines, 1u);
    EXPECT_EQ(pieces.pieces[2].lines, 1u);
}

TEST(SourcePieces, ALongLineIsNeverCutInsideACharacterReference) {
    std::u16string text;
    for (int i = 0; i < 3000; ++i) text += u"a<&>";
    const SourcePieces pieces = splitSourceBody(renderSourceBody(text, {}, false), 200, 97);
    ASSERT_GT(pieces.pieces.size(), 10u);
    for (const SourcePiece& piece : pieces.pieces) {
        const std::u16string& h = piece.html;
        const std::size_t amp = h.rfind(u'&');
        // The last reference of a piece is complete: one of "&lt", "&gt", "&amp" in full.
        ASSERT_NE(amp, std::u16string::npos);
        const std::u16string tail = h.substr(amp);
        EXPECT_TRUE(tail.rfind(u"&lt", 0) == 0 || tail.rfind(u"&gt", 0) == 0 ||
                    tail.rfind(u"&amp", 0) == 0)
            << toUtf8(tail);
        EXPECT_NE(h.front(), u';');
        EXPECT_TRUE(balanced(h));
    }
}

}  // namespace
