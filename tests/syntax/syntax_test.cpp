// The markup highlighter against a marker-based model of its rules, and the syntax table.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/text.h"
#include "syntax/markup_highlighter.h"
#include "syntax/syntax_table.h"

namespace lodestar {
namespace {

using namespace std::literals;

struct Case {
    const char* name;
    const char16_t* text;
    const char16_t* html;
};

std::u16string highlighted(std::u16string text) {
    markSyntax(text);
    return text;
}

const Case kCases[] = {
    {"link and comment", u"<a href='x.htm'>Link</a> <!-- c -->",
     u"&lt;<b>a</b><i> href</i>='<u>x.htm</u>'&gt;Link&lt;<b>/a</b>&gt; <s>&lt;!-- c --&gt;</s>"},
    {"match markers of the text", u"<p>[m]a[/m]</p>", u"&lt;<b>p</b>&gt;[m]a[/m]&lt;<b>/p</b>&gt;"},
    {"tabs and line ends are no separators", u"<a\tb\r\nc>", u"&lt;<b>a\tb\r\nc</b>&gt;"},
    {"text's own percent-brace pairs", u"%{x%} [%{]", u"%{x%} [%{]"},
    {"entities of the text", u"&lt; &amp;", u"&amp;lt; &amp;amp;"},
    // Letters after an escaped character never join it into a longer entity name.
    {"letters after an escape", u"p->dot; a&copy <b", u"p-&gt;dot; a&amp;copy &lt;<b>b"},
    // Match marks pass through without changing the highlighting.
    {"mark inside a tag name", u"<\uFDD0a\uFDD1 b>", u"&lt;<b>\uFDD0a\uFDD1</b><i> b</i>&gt;"},
    {"mark inside a comment opener", u"<\uFDD0!-\uFDD1- c -->",
     u"<s>&lt;\uFDD0!-\uFDD1- c --&gt;</s>"},
    {"mark after a doctype's <", u"<\uFDD0\uFDD1!DOCTYPE>", u"&lt;\uFDD0\uFDD1!DOCTYPE&gt;"},
    {"mark at the very end after <", u"<\uFDD0", u"&lt;\uFDD0"},
    {"mark before a tag name", u"<\uFDD0p>", u"&lt;<b>\uFDD0p</b>&gt;"},
};

TEST(MarkSyntax, RendersTheDocumentedExamplesEdgeCasesAndMatchMarks) {
    for (const Case& c : kCases) {
        EXPECT_EQ(toUtf8(highlighted(c.text)), toUtf8(c.html)) << c.name;
    }
}

// The rules as bracket markers: replace the text's brackets, record markers before and after
// each character, escape, turn markers into tags, and restore the brackets.
std::u16string referenceMarkSyntax(std::u16string text) {
    if (text.empty()) return text;
    replaceAll(text, u"[", u"%{");
    replaceAll(text, u"]", u"%}");
    bool inTag = false, inComment = false, tagName = false, attrName = false, quoted = false;
    std::u16string out;
    for (std::size_t p = 0; p < text.size(); ++p) {
        const char16_t c = text[p];
        std::u16string before, after;
        auto at = [&](std::size_t k) { return p + k < text.size() ? text[p + k] : u'\0'; };
        const bool opens = c == u'<' && ((at(1) >= u'a' && at(1) <= u'z') || at(1) == u'/' ||
                                         at(1) == u'!' || at(1) == u'?');
        if (opens) {
            if (at(1) == u'!' && at(2) == u'-' && at(3) == u'-') {
                inComment = true;
                before += u"[s]";
            } else {
                inTag = true;
                if (at(1) != u'!') {
                    tagName = true;
                    after += u"[b]";
                }
            }
        }
        if (c == u'>') {
            if (inComment) {
                inComment = false;
                after += u"[/s]";
            } else {
                inTag = false;
            }
            if (quoted) quoted = false, before += u"[/u]";
            if (attrName) attrName = false, before += u"[/i]";
            if (tagName) tagName = false, before += u"[/b]";
        }
        if (inTag && (c == u'"' || c == u'\'')) {
            if (quoted) {
                quoted = false;
                before += u"[/u]";
            } else {
                quoted = true;
                after += u"[u]";
            }
        }
        if (inTag && !quoted && c == u' ') {
            if (tagName) {
                tagName = false, attrName = true;
                before += u"[/b][i]";
            } else if (attrName) {
                attrName = false;
                before += u"[/i]";
            } else {
                attrName = true;
                after += u"[i]";
            }
        }
        if (inTag && !quoted && c == u'=' && attrName) attrName = false, before += u"[/i]";
        out += before + c + after;
    }
    replaceAll(out, u"&", u"&amp;");
    replaceAll(out, u"<", u"&lt;");
    replaceAll(out, u">", u"&gt;");
    replaceAll(out, u"[", u"<");
    replaceAll(out, u"]", u">");
    replaceAll(out, u"%{", u"[");
    replaceAll(out, u"%}", u"]");
    return out;
}

TEST(MarkSyntax, AgreesWithTheMarkerRulesOnRandomMarkup) {
    const std::u16string alphabet = u"<>!-='\" \"ab&[]%{}\t\n/?5";
    std::mt19937 random(20240611);
    int compared = 0;
    for (int round = 0; round < 20000; ++round) {
        std::u16string text;
        const std::size_t length = random() % 24;
        for (std::size_t k = 0; k < length; ++k) text += alphabet[random() % alphabet.size()];
        // The marker rules turn the text's own "%{" and "%}" into brackets; those texts differ.
        if (text.find(u"%{") != std::u16string::npos || text.find(u"%}") != std::u16string::npos)
            continue;
        ASSERT_EQ(toUtf8(highlighted(text)), toUtf8(referenceMarkSyntax(text))) << toUtf8(text);
        ++compared;
    }
    EXPECT_GT(compared, 10000);
}

TEST(SyntaxTable, PicksRenderRulesByExtension) {
    const SyntaxTable table = parseSyntaxTable(
        u"htm:/lib/first.rep\r\nhtm:/lib/second.rep\r\n"
        u"txt:/lib/text.rep\r\n:/lib/none.rep");
    struct {
        std::u16string_view fileName;
        bool showSyntax;
        const char16_t* rules;
    } const cases[] = {
        {u"/d/page.htm", true, u"/lib/first.rep"},
        {u"  /d/PAGE.HTM  ", true, u"/lib/first.rep"},
        {u"/d/notes.txt\0\0"sv, true, u"/lib/text.rep"},
        {u"/d/page.html", true, u"/lib/showHTM.rep"},
        {u"/d/archive.tar.txt", true, u"/lib/text.rep"},
        {u"/d/Makefile", true, u"/lib/showHTM.rep"},
        {u"/d.htm/Makefile", true, u"/lib/showHTM.rep"},
        {u"", true, u"/lib/showHTM.rep"},
        {u"/d/page.htm", false, u"/lib/showSrc.rep"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(toUtf8(pickRenderRules(table, c.fileName, c.showSyntax)), toUtf8(c.rules))
            << toUtf8(c.fileName);
    }
}

}  // namespace
}  // namespace lodestar
