// Reading the assistant's library files: the line rule, field order, and missing files.
#include "assistant/library.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/text.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

using Entries = std::vector<LibraryEntry>;

// The line rule is "(.+?), (.+?), (.*)\r\n": each field needs one character before its
// separator, and the dot matches a lone CR, so only CR LF ends an entry.
TEST(ParseEntryLibrary, TakesEveryLineThatFitsTheLineRule) {
    const struct {
        const char16_t* text;
        Entries entries;
    } cases[] = {
        // Fields in file order; the description holds any further separators.
        {u"Group, ( ), Captures what it holds, for $1 and \\1\r\nPlain, x, \r\n"
         u"Digits, \\d, , , commas\r\n",
         {{u"Group", u"( )", u"Captures what it holds, for $1 and \\1"},
          {u"Plain", u"x", u""},
          {u"Digits", u"\\d", u", , commas"}}},
        // Lines that do not fit: no or one separator, empty, bare LF, no line end.
        {u"no separators\r\none, separator\r\n\r\nbare, line, feed\ngood, one, here\r\n"
         u"last, without, line end",
         {{u"good", u"one", u"here"}}},
        {u"a, b, c\nd, e, f\n", {}},
        {u"", {}},
        // A line starting with ", " keeps it in the first field; ", , " is a two-character field.
        {u", , x, y\r\n", {{u", ", u"x", u"y"}}},
        {u"a, , , b\r\n", {{u"a", u", ", u"b"}}},
        {u"a, , \r\n", {}},
        {u"a\rb, c, d\r\r\n", {{u"a\rb", u"c", u"d\r"}}},
        {u"a, b, c\rd, e, f\r\n", {{u"a", u"b", u"c\rd, e, f"}}},
        {u"a, b, c\r", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseEntryLibrary(c.text, false), c.entries) << toUtf8(c.text);
}

TEST(ParseEntryLibrary, MetacharOrderPutsFragmentFirstAndNeedsADescription) {
    const std::u16string text = u"\\d, Digit, Any digit 0-9\r\n\\w, Word char, \r\n";
    EXPECT_EQ(parseEntryLibrary(text, true), (Entries{{u"Digit", u"\\d", u"Any digit 0-9"}}));
    EXPECT_EQ(parseEntryLibrary(text, false).size(), 2u);
}

TEST(ParseSymbolLibrary, EveryCharacterIsOneSymbol) {
    EXPECT_EQ(parseSymbolLibrary(u"\\^$."), (std::vector<char16_t>{u'\\', u'^', u'$', u'.'}));
    EXPECT_TRUE(parseSymbolLibrary(u"").empty());
}

TEST(LoadAssistantLibraries, ReadsTheFiveFilesAndLeavesMissingOnesEmpty) {
    testing::TempDir dir;
    dir.put("metachar.lib", "\\d, Digit, One digit\r\n");
    dir.put("repeat.lib", "One or more, +, Caf\xE9 ok\r\n");
    dir.put("symbol.lib", "()");
    std::filesystem::create_directory(dir.path() / "regExp.lib");  // unreadable as a file

    for (const std::u16string& folder :
         {dir.folder(), dir.folder().substr(0, dir.folder().size() - 1)}) {
        const AssistantLibraries libs = loadAssistantLibraries(folder);
        EXPECT_EQ(libs.metaChars, (Entries{{u"Digit", u"\\d", u"One digit"}}));
        EXPECT_EQ(libs.repeats, (Entries{{u"One or more", u"+", u"Caf\u00E9 ok"}}));
        EXPECT_TRUE(libs.limits.empty());
        EXPECT_TRUE(libs.presets.empty());
        EXPECT_EQ(libs.symbols, (std::vector<char16_t>{u'(', u')'}));
    }
    const AssistantLibraries none = loadAssistantLibraries(dir.folder() + u"no-such-folder");
    EXPECT_TRUE(none.metaChars.empty() && none.symbols.empty());
}

}  // namespace
}  // namespace lodestar
