// RegExp as its callers use it beyond single results (oracle/oracle.mjs compares those with
// Node.js), where the dialect departs from Node, the errors for refused patterns, and the lines and
// columns of matches as the user counts them.
#include "search/regexp.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/text.h"
#include "search/match_positions.h"
#include "support/expression.h"

namespace lodestar {
namespace {

using testing::errorOf;
using testing::expression;
using Values = std::vector<std::u16string>;

Values values(std::u16string_view pattern, std::u16string_view text, SearchSwitches s = {}) {
    return testing::matchValues(expression(pattern, s), text);
}

TEST(RegExp, BadPatternIsAcceptedWhenSetAndFailsAtUse) {
    RegExp re;
    re.setPattern(u"(ab");
    EXPECT_EQ(re.pattern(), u"(ab");
    EXPECT_THROW(re.execute(u"ab"), RegExpError);
    EXPECT_THROW(re.count(u"ab"), RegExpError);
    EXPECT_THROW(re.forEachMatch(u"ab", [](const MatchSpan&) {}), RegExpError);
    EXPECT_THROW(re.replace(u"ab", u"x"), RegExpError);
    re.setPattern(u"(ab)");
    EXPECT_EQ(re.count(u"ab"), 1u);
}

TEST(RegExp, SwitchesTakeEffectOnTheNextUse) {
    RegExp re = expression(u"^b");
    EXPECT_EQ(re.count(u"a\nB"), 0u);
    re.setMultiline(true);
    EXPECT_EQ(re.count(u"a\nB"), 0u);
    re.setIgnoreCase(true);
    EXPECT_EQ(re.count(u"a\nB"), 1u);
    re.setMultiline(false);
    EXPECT_EQ(re.count(u"a\nB"), 0u);
    RegExp o = expression(u"o", {.global = false});
    EXPECT_EQ(o.replace(u"foo", u"0"), u"f0o");
    o.setGlobal(true);
    EXPECT_EQ(o.replace(u"foo", u"0"), u"f00");
}

TEST(RegExp, CopiesAreIndependent) {
    RegExp original = expression(u"a");
    EXPECT_EQ(original.count(u"aA"), 1u);
    RegExp copy = original;
    copy.setIgnoreCase(true);
    copy.setPattern(u"[ab]");
    EXPECT_EQ(copy.count(u"aAbB"), 4u);
    EXPECT_EQ(original.count(u"aAbB"), 1u);
    RegExp moved = std::move(copy);
    EXPECT_EQ(moved.count(u"aAbB"), 4u);
    original = moved;
    EXPECT_EQ(original.pattern(), u"[ab]");
    EXPECT_EQ(original.count(u"aAbB"), 4u);
}

TEST(RegExp, VisitorMayUseAnotherExpression) {
    // Matching inside a visitor must not disturb the outer loop's state.
    RegExp outer = expression(u"\\w+");
    RegExp inner = expression(u"[aeiou]");
    std::vector<std::size_t> vowels;
    const std::u16string text = u"alpha beta gamma";
    outer.forEachMatch(text, [&](const MatchSpan& s) {
        vowels.push_back(inner.count(text.substr(s.index, s.length)));
    });
    EXPECT_EQ(vowels, (std::vector<std::size_t>{2, 2, 2}));
}

// The dot takes a CR but no LF; "$" without multiline is the very end only; the shorthand
// classes stay ASCII under ignore case, and no class reaches s or k through U+017F or U+212A.
TEST(RegExpDialect, LineBreaksAndCaseFoldingWhereNodeDiffers) {
    const struct {
        const char16_t* pattern;
        const char16_t* text;
        bool ignoreCase;
        Values values;
    } cases[] = {
        {u"a.c", u"a\rc a\nc a\u2028c", false, {u"a\rc", u"a\u2028c"}},
        {u".+", u"ab\r\ncd", false, {u"ab\r", u"cd"}},
        {u"x$", u"x\n", false, {}},
        {u"x$", u"x\r\n", false, {}},
        {u"x$", u"x\nx", false, {u"x"}},
        {u"\\d+", u"12\u0663", true, {u"12"}},
        {u"\\w+", u"ab\u00e9c", true, {u"ab", u"c"}},
        {u"\\bc", u"\u00e9c", true, {u"c"}},
        {u"[\\w]+", u"ab\u00e9c", true, {u"ab", u"c"}},
        {u"[\\W]", u"sSkK", true, {}},
        {u"[\\x80-\\uffff]", u"sk", true, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(values(c.pattern, c.text, {.ignoreCase = c.ignoreCase}), c.values)
            << toUtf8(c.pattern);
}

TEST(RegExpDialect, RefusedPatternsNameWhatAndWhere) {
    const std::pair<const char16_t*, const char*> refused[] = {
        {u"(ab", "missing ) at position 3"},
        {u"ab)", "unmatched ) at position 2"},
        {u"a**", "nothing to repeat at position 2"},
        {u"x|{2}", "nothing to repeat at position 2"},
        {u"[abc", "missing ] at position 4"},
        {u"a[z-a]", "range out of order in character class at position 2"},
        {u"a{3,2}", "numbers out of order in {} quantifier at position 1"},
        {u"a{70000}", "number too big in {} quantifier at position 1"},
        {u"ab\\", "\\ at end of pattern at position 2"},
    };
    for (const auto& [pattern, message] : refused) EXPECT_EQ(errorOf(expression(pattern)), message);
    // Look-behind, named groups, inline options and PCRE2's own groups are not in the dialect.
    for (const char16_t* pattern : {u"(?<=a)b", u"(?<n>a)", u"(?i)a", u"(?>a)", u"(*ACCEPT)"})
        EXPECT_NE(errorOf(expression(pattern)), "no error") << toUtf8(pattern);
}

TEST(RegExpDialect, ErrorsFromPcre2PointIntoTheTypedPattern) {
    // \s grows into a longer class in PCRE2 syntax; the position still counts typed units.
    std::u16string deep = u"\\s\\s\\s";
    for (int i = 0; i < 300; ++i) deep += u"(";
    for (int i = 0; i < 300; ++i) deep += u")";
    EXPECT_EQ(errorOf(expression(deep)), "parentheses are too deeply nested at position 257");
}

// Lines and columns of matches as the user counts them.
struct PositionCase {
    const char* name;
    std::u16string text;
    std::vector<MatchSpan> spans;
    std::vector<std::pair<std::size_t, std::size_t>> expected;  // line, column
};

TEST(MatchPositions, CountLinesAndCharactersFromOne) {
    const std::vector<PositionCase> cases = {
        {"first character", u"abc", {{0, 1}}, {{1, 1}}},
        {"many on one line", u"x x x", {{0, 1}, {2, 1}, {4, 1}}, {{1, 1}, {1, 3}, {1, 5}}},
        {"line feeds", u"a\nbb\nccc", {{2, 2}, {6, 1}}, {{2, 1}, {3, 2}}},
        {"CR LF lines", u"a\r\nb x\r\n", {{5, 1}, {3, 1}}, {{2, 3}, {2, 1}}},
        {"a pair is one character",
         u"\U0001F600x\n\U0001F600\U0001F600y",
         {{2, 1}, {8, 1}},
         {{1, 2}, {2, 3}}},
        {"empty match on an empty line", u"a\n\nb", {{2, 0}}, {{2, 1}}},
        {"empty match after the final break", u"ab\n", {{2, 0}, {3, 0}}, {{1, 3}, {2, 1}}},
        {"a match across lines counts from its start",
         u"ab\ncd",
         {{1, 3}, {4, 1}},
         {{1, 2}, {2, 2}}},
    };
    for (const PositionCase& c : cases) {
        std::vector<std::pair<std::size_t, std::size_t>> got;
        for (const TextPosition& p : matchPositions(c.text, c.spans))
            got.emplace_back(p.line, p.column);
        EXPECT_EQ(got, c.expected) << c.name;
    }
}

// A long line of many matches: each column follows from the one before it, and still agrees
// with counting from the line's start.
TEST(MatchPositions, ColumnsOfALongLineAgreeWithCountingFromItsStart) {
    std::u16string text = u"head\n";
    std::vector<MatchSpan> spans;
    for (int i = 0; i < 2000; ++i) {
        if (i % 7 == 0) text += u"\U0001F600";
        spans.push_back({text.size(), 1});
        text += u"x ";
    }
    const std::vector<TextPosition> got = matchPositions(text, spans);
    for (std::size_t k = 0; k < spans.size(); k += 97) {
        EXPECT_EQ(got[k].line, 2u);
        EXPECT_EQ(got[k].column,
                  1 + characterCount(std::u16string_view(text).substr(5, spans[k].index - 5)));
    }
}

}  // namespace
}  // namespace lodestar
