// Reading the assistant's library files: the line rule, field order, and missing files.
#include "assistant/library.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace lodestar {
namespace {

using Entries = std::vector<LibraryEntry>;

TEST(ParseEntryLibrary, ReadsFieldsInFileOrderWithDescriptionsHoldingSeparators) {
    const std::u16string text =
        u"Group, ( ), Captures what it holds, for $1 and \\1\r\n"
        u"Plain, x, \r\n"
        u"Digits, \\d, , , commas\r\n";
    EXPECT_EQ(parseEntryLibrary(text, false),
              (Entries{{u"Group", u"( )", u"Captures what it holds, for $1 and \\1"},
                       {u"Plain", u"x", u""},
                       {u"Digits", u"\\d", u", , commas"}}));
}

TEST(ParseEntryLibrary, MetacharOrderPutsFragmentFirstAndNeedsADescription) {
    const std::u16string text = u"\\d, Digit, Any digit 0-9\r\n\\w, Word char, \r\n";
    EXPECT_EQ(parseEntryLibrary(text, true), (Entries{{u"Digit", u"\\d", u"Any digit 0-9"}}));
    EXPECT_EQ(parseEntryLibrary(text, false).size(), 2u);
}

TEST(ParseEntryLibrary, SkipsLinesThatDoNotFit) {
    const std::u16string text =
        u"no separators\r\n"
        u"one, separator\r\n"
        u"\r\n"
        u"bare, line, feed\n"
        u"good, one, here\r\n"
        u"last, without, line end";
    EXPECT_EQ(parseEntryLibrary(text, false), (Entries{{u"good", u"one", u"here"}}));
    EXPECT_TRUE(parseEntryLibrary(u"a, b, c\nd, e, f\n", false).empty());
    EXPECT_TRUE(parseEntryLibrary(u"", false).empty());
}

// Each field needs one character before its separator, as the lazy "(.+?), " does: a line
// starting with ", " keeps it in the first field, and ", , " makes a two-character field.
TEST(ParseEntryLibrary, EmptyLeadingFieldsTakeTheSeparatorIntoTheField) {
    EXPECT_EQ(parseEntryLibrary(u", , x, y\r\n", false), (Entries{{u", ", u"x", u"y"}}));
    EXPECT_EQ(parseEntryLibrary(u"a, , , b\r\n", false), (Entries{{u"a", u", ", u"b"}}));
    EXPECT_TRUE(parseEntryLibrary(u"a, , \r\n", false).empty());
}

// The dot of the line rule matches a carriage return, so a lone CR stays inside a field; only
// CR LF ends an entry.
TEST(ParseEntryLibrary, LoneCarriageReturnIsPartOfAField) {
    EXPECT_EQ(parseEntryLibrary(u"a\rb, c, d\r\r\n", false), (Entries{{u"a\rb", u"c", u"d\r"}}));
    EXPECT_EQ(parseEntryLibrary(u"a, b, c\rd, e, f\r\n", false),
              (Entries{{u"a", u"b", u"c\rd, e, f"}}));
    EXPECT_TRUE(parseEntryLibrary(u"a, b, c\r", false).empty());
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
