// The assistant: its library files, the files the program ships, and composing a pattern.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "assistant/composer.h"
#include "assistant/library.h"
#include "core/text.h"
#include "support/expression.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

using Entries = std::vector<LibraryEntry>;

// The line rule is "(.+?), (.+?), (.*)\r\n": each field needs one character before its
// separator, and the dot matches a lone CR, so only CR LF ends an entry.
TEST(ParseEntryLibrary, TakesEveryLineThatFitsTheLineRule) {
    const std::pair<const char16_t*, Entries> cases[] = {
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
        {u"a, b, c\r", {}}};
    for (const auto& [text, entries] : cases)
        EXPECT_EQ(parseEntryLibrary(text, false), entries) << toUtf8(text);
}

TEST(ParseEntryLibrary, MetacharOrderPutsFragmentFirstAndNeedsADescription) {
    const std::u16string text = u"\\d, Digit, Any digit 0-9\r\n\\w, Word char, \r\n";
    EXPECT_EQ(parseEntryLibrary(text, true), (Entries{{u"Digit", u"\\d", u"Any digit 0-9"}}));
    EXPECT_EQ(parseEntryLibrary(text, false).size(), 2u);
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

const std::filesystem::path kSource = LODESTAR_SOURCE_DIR;

AssistantLibraries shippedLibraries() {
    return loadAssistantLibraries(fromUtf8(LODESTAR_SOURCE_DIR "/lib"));
}

std::vector<std::u16string> matchesOf(const std::u16string& pattern, std::u16string_view text) {
    return testing::matchValues(testing::expression(pattern), text);
}

std::size_t crlfLines(const std::string& bytes) {
    std::size_t count = 0;
    for (std::size_t at = 0; (at = bytes.find("\r\n", at)) != std::string::npos; at += 2) ++count;
    return count;
}

TEST(ShippedLibraries, EveryLineBecomesAnEntry) {
    const AssistantLibraries libs = shippedLibraries();
    const std::pair<const char*, const std::vector<LibraryEntry>*> tables[] = {
        {"metachar.lib", &libs.metaChars},
        {"limit.lib", &libs.limits},
        {"repeat.lib", &libs.repeats},
        {"regExp.lib", &libs.presets}};
    for (const auto& [name, entries] : tables) {
        EXPECT_EQ(entries->size(), crlfLines(testing::readBytes(kSource / "lib" / name))) << name;
        for (const LibraryEntry& e : *entries) {
            const std::string what = std::string(name) + ": " + toUtf8(e.name);
            EXPECT_FALSE(e.fragment.empty()) << what;
            // Only headings go without a description; only a pair may start or end with its
            // space ("^ ", " $"); a pair needs its space to wrap a selection.
            EXPECT_EQ(e.name.starts_with(u'-'), e.description.empty()) << what;
            if (entries == &libs.limits) {
                EXPECT_NE(e.fragment.find(u' '), std::u16string::npos) << what;
            } else {
                EXPECT_EQ(e.fragment, trimSpaces(e.fragment)) << what;
            }
        }
    }
    EXPECT_GT(libs.presets.size(), 40u);
    EXPECT_EQ(std::u16string(libs.symbols.begin(), libs.symbols.end()), u"\\^$.|?*+()[]{}-/");
}

TEST(ShippedSyntaxTable, EveryLineNamesAnExistingRenderRulesFile) {
    const std::string bytes = testing::readBytes(kSource / "lib/syntax.tbl");
    std::set<std::string> keys;
    for (const std::u16string& line : splitText(fromUtf8(bytes), u"\r\n")) {
        if (line.empty()) continue;  // after the final line end
        const std::size_t colon = line.find(u':');
        ASSERT_NE(colon, std::u16string::npos) << toUtf8(line);
        const std::string key = toUtf8(line.substr(0, colon));
        EXPECT_TRUE(keys.insert(key).second) << "repeated key " << key;
        // Extensions are looked up lower-cased, so a key with a capital would never match.
        EXPECT_TRUE(std::none_of(key.begin(), key.end(), ::isupper)) << key;
        const std::string value = toUtf8(line.substr(colon + 1));
        ASSERT_TRUE(value.starts_with("/lib/")) << value;
        EXPECT_TRUE(std::filesystem::is_regular_file(kSource / value.substr(1))) << value;
    }
    EXPECT_TRUE(keys.count("htm") && keys.count("html") && keys.count("txt"));
}

TEST(ShippedPatterns, EveryFragmentCompiles) {
    const AssistantLibraries libs = shippedLibraries();
    std::vector<std::u16string> patterns;
    for (const LibraryEntry& e : libs.metaChars) patterns.push_back(e.fragment);
    for (const LibraryEntry& e : libs.repeats) patterns.push_back(u"a" + e.fragment);
    for (const LibraryEntry& e : libs.limits)
        patterns.push_back(replacedAll(e.fragment, u" ", u"a"));
    for (const LibraryEntry& e : libs.presets)
        if (!e.name.starts_with(u'-')) patterns.push_back(e.fragment);
    for (char16_t c : libs.symbols) patterns.push_back(std::u16string{u'\\', c});
    ASSERT_GT(patterns.size(), 100u);
    for (const std::u16string& p : patterns)
        EXPECT_NO_THROW(matchesOf(p, u"sample text 12 <a href='x'>")) << toUtf8(p);
}

TEST(ShippedPatterns, PresetsFindTheirExamples) {
    std::map<std::u16string, std::u16string> preset;
    for (const LibraryEntry& e : shippedLibraries().presets) preset[e.name] = e.fragment;
    using Values = std::vector<std::u16string>;
    EXPECT_EQ(matchesOf(preset[u"E-mail address"], u"to jane.doe+x@mail.example.co.uk, bob@x.org."),
              (Values{u"jane.doe+x@mail.example.co.uk", u"bob@x.org"}));
    EXPECT_EQ(matchesOf(preset[u"IPv4 address"], u"192.168.0.1 256.1.1.1 10.0.0.255"),
              (Values{u"192.168.0.1", u"10.0.0.255"}));
    EXPECT_EQ(matchesOf(preset[u"Date yyyy-mm-dd"], u"2024-03-31 2024-13-01"),
              (Values{u"2024-03-31"}));
    EXPECT_EQ(matchesOf(preset[u"HTML comment"], u"a<!-- x\r\n y -->b<!---->"),
              (Values{u"<!-- x\r\n y -->", u"<!---->"}));
    EXPECT_EQ(matchesOf(preset[u"Trailing spaces"], u"a  \r\nb\t\nc "),
              (Values{u"  ", u"\t", u" "}));
    EXPECT_EQ(matchesOf(preset[u"Duplicate word"], u"the the cat cat s"),
              (Values{u"the the", u"cat cat"}));
}

LibraryEntry entry(std::u16string fragment, std::u16string description = {}) {
    return {u"name", std::move(fragment), std::move(description)};
}

// Without a selection the caret stands before the whole closing part, so typing lands inside
// the pair, never inside an escape such as "\b".
TEST(Composer, WrapWithoutSelectionStandsBeforeTheClosingPart) {
    const std::pair<const char16_t*, std::size_t> cases[] = {
        {u"( )", 1}, {u"(?= )", 3}, {u"\\b \\b", 2}, {u"^ ", 1}, {u"<>", 1}};
    for (const auto& [pair, caret] : cases) {
        Composer c;
        c.pickLimit(entry(pair));
        EXPECT_EQ(c.caret(), caret) << c.pattern().size();
    }
    Composer c;
    c.pickLimit(entry(u"[ ]"));
    c.insertAtCaret(u"a-z");
    EXPECT_EQ(c.pattern(), u"[a-z]");
}

TEST(Composer, WrapsASelectionAndPairWithoutSpaceGoesInFront) {
    Composer c;
    c.setPattern(u"xaby");
    c.select(1, 2);
    c.wrapSelection(u"(?: )");
    EXPECT_EQ(c.pattern(), u"x(?:ab)y");
    EXPECT_EQ(c.caret(), 7u);
    c.select(0, 1);
    c.wrapSelection(u"^");
    EXPECT_EQ(c.pattern(), u"^x(?:ab)y");
    EXPECT_EQ(c.caret(), 2u);
}

TEST(Composer, RepeatGroupsOnlySelectionsLongerThanOneCharacter) {
    Composer c;
    c.setPattern(u"xaby");
    c.select(1, 2);
    c.pickRepeat(entry(u"*?"));
    EXPECT_EQ(c.pattern(), u"x(ab)*?y");
    c.undo();
    EXPECT_EQ(c.pattern(), u"x(ab)y");  // grouping is a step of its own

    c.setPattern(u"\\w-");
    c.select(0, 2);
    c.pickRepeat(entry(u"?"));
    EXPECT_EQ(c.pattern(), u"\\w?-");
    c.select(4, 0);
    c.pickRepeat(entry(u"*"));
    EXPECT_EQ(c.pattern(), u"\\w?-*");
}

// A replacing preset is no step of its own; an inserting one is. (The dialog passes headings by.)
TEST(Composer, APresetReplacesWithoutAStepOrInsertsAsOne) {
    Composer c;
    c.insertAtCaret(u"a");
    c.insertAtCaret(u"b");
    c.pickPreset({u"Year", u"\\d{4}", u"Four digits"}, false);
    EXPECT_EQ(c.description(), u"Four digits");
    c.undo();
    EXPECT_EQ(c.pattern(), u"a");
    c.select(0, 0);
    c.pickPreset({u"Year", u"\\d{4}", u""}, true);
    EXPECT_EQ(c.pattern(), u"\\d{4}a");
    c.undo();
    EXPECT_EQ(c.pattern(), u"a");
}

TEST(Composer, SelectionStaysWithinTheText) {
    Composer c;
    c.setPattern(u"abc");
    c.select(1, 10);
    EXPECT_EQ(c.selectedText(), u"bc");
    c.setPattern(u"a");
    EXPECT_EQ(c.caret(), 1u);
    EXPECT_EQ(c.selectionLength(), 0u);
}

TEST(Composer, HistoryAndCaretWorkBeyond255) {
    Composer c;
    for (int i = 0; i < 300; ++i) c.insertAtCaret(u"a");
    c.select(280, 5);
    c.wrapSelection(u"( )");
    EXPECT_EQ(c.pattern().substr(279, 8), u"a(aaaaa)");
    EXPECT_EQ(c.caret(), 287u);
    for (int i = 0; i < 301; ++i) c.undo();
    EXPECT_EQ(c.pattern(), u"");
    EXPECT_FALSE(c.canUndo());
    for (int i = 0; i < 300; ++i) c.redo();
    EXPECT_EQ(c.pattern(), std::u16string(300, u'a'));
    ASSERT_TRUE(c.canRedo());
    c.insertAtCaret(u"b");  // a new step drops the steps Redo would bring back
    EXPECT_FALSE(c.canRedo());
}

}  // namespace
}  // namespace lodestar
