// The syntax table: parsing the table file and choosing render rules by extension.
#include <gtest/gtest.h>

#include "core/text.h"
#include "syntax/syntax_table.h"

using namespace lodestar;
using namespace std::literals;

namespace {

TEST(SyntaxTable, SplitsLinesAtTheFirstColonAndSkipsLinesWithoutOne) {
    const SyntaxTable table =
        parseSyntaxTable(u"htm:/lib/a.rep\r\n\r\nno colon\r\nxml: /lib/b.rep:x\r\n:empty key\r\n");
    EXPECT_EQ(table.keys, (std::vector<std::u16string>{u"htm", u"xml", u""}));
    EXPECT_EQ(table.values,
              (std::vector<std::u16string>{u"/lib/a.rep", u" /lib/b.rep:x", u"empty key"}));
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
