// Pattern building judged by what the built pattern matches through the engine.
#include <gtest/gtest.h>

#include <random>

#include "core/text.h"
#include "search/escapes.h"
#include "search/expression_ops.h"
#include "search/pattern.h"
#include "search/search_request.h"
#include "support/expression.h"

namespace lodestar {
namespace {

using testing::matchValues;
using testing::typedExpression;

std::u16string replaced(std::u16string_view pattern, std::u16string_view text,
                        std::u16string_view replacement) {
    const SearchRequest request =
        SearchRequest::build(pattern, replacement, {.dotAll = true}, false);
    return replaceIn(request.expression(), text, request.replacement());
}

using Values = std::vector<std::u16string>;

// Only a wildcard dot takes the line feed, and only with the dot switch on.
TEST(BuildPattern, OnlyAWildcardDotMatchesLineFeedWithDotAll) {
    const struct {
        const char16_t* pattern;
        const char16_t* text;
        bool dotAll;
        Values values;
    } cases[] = {
        {u"a.b", u"a\nb axb", true, {u"a\nb", u"axb"}},
        {u"a.b", u"a\nb axb a\rb", false, {u"axb", u"a\rb"}},
        {u"<.*>", u"<a\n\nb> c", true, {u"<a\n\nb>"}},
        {u"a\\.b", u"a.b axb a\nb", true, {u"a.b"}},
        // Inside a class the dot is literal; an escaped "]" does not close the class.
        {u"[.]", u"x.\n(", true, {u"."}},
        {u"[^.]", u".a.", true, {u"a"}},
        {u"[\\].]+", u"x].\ny", true, {u"]."}},
        // "[^]" is a whole class (any character), so a dot after it is outside the class.
        {u"[^].", u"a\n", true, {u"a\n"}},
        {u"x[^]*.", u"x\n\n", true, {u"x\n\n"}},
        {u"\\\\.", u"\\\n \\x", true, {u"\\\n", u"\\x"}},      // after an escaped backslash
        {u"x(.|\\n)y", u"x\ny x-y", true, {u"x\ny", u"x-y"}},  // the user's own group
    };
    for (const auto& c : cases)
        EXPECT_EQ(matchValues(typedExpression(c.pattern, {.dotAll = c.dotAll}), c.text), c.values)
            << toUtf8(c.pattern);
}

TEST(BuildPattern, RewriteAddsNoCapturingGroup) {
    EXPECT_EQ(replaced(u"(a).(b)", u"a\nb", u"[$2|$1]"), u"[b|a]");
    EXPECT_EQ(replaced(u"x(.|\\n)(y)", u"x\ny", u"$1$2"), u"\ny");
    const std::vector<Match> matches =
        typedExpression(u"(a).(b)", {.dotAll = true}).execute(u"a-b");
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_EQ(matches[0].subMatches.size(), 2u);
}

TEST(DecodeEscapes, DoubledBackslashIsOneAndControlEscapesNeedSupport) {
    const struct {
        const char16_t* text;
        const char16_t* off;
        const char16_t* on;
    } cases[] = {
        {u"a\\\\tb", u"a\\tb", u"a\\tb"},
        {u"\\\\\\\\", u"\\\\", u"\\\\"},
        {u"\\\\\\n", u"\\\\n", u"\\\n"},  // a backslash pair, then an escape
        {u"a\\tb\\r\\n", u"a\\tb\\r\\n", u"a\tb\r\n"},
        {u"a\\%=b", u"a\\%=b", u"a\\%=b"},  // looks like the stand-in for a backslash
        {u"\\q $1 \\", u"\\q $1 \\", u"\\q $1 \\"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(decodeEscapes(c.text, false), c.off) << toUtf8(c.text);
        EXPECT_EQ(decodeEscapes(c.text, true), c.on) << toUtf8(c.text);
    }
}

// The decoding as three whole-text replacements through a stand-in; the scan must agree with
// it on every text that does not itself hold the stand-in.
std::u16string decodeByStandIn(std::u16string_view text, bool escapeSupport) {
    std::u16string out = replacedAll(text, u"\\\\", u"\\%=");
    if (escapeSupport) {
        out = replacedAll(out, u"\\r", u"\r");
        out = replacedAll(out, u"\\n", u"\n");
        out = replacedAll(out, u"\\t", u"\t");
    }
    return replacedAll(out, u"\\%=", u"\\");
}

TEST(DecodeEscapes, AgreesWithStandInDecodingOnOtherTexts) {
    std::mt19937 random(7);
    const std::u16string alphabet = u"\\\\\\rnt%=a";
    for (int round = 0; round < 20000; ++round) {
        std::u16string text;
        for (int n = random() % 9; n > 0; --n) text.push_back(alphabet[random() % alphabet.size()]);
        if (text.find(u"\\%=") != std::u16string::npos) continue;
        for (bool on : {false, true}) {
            ASSERT_EQ(decodeEscapes(text, on), decodeByStandIn(text, on)) << toUtf8(text);
        }
    }
}

// The request compiles its expression once under its switches, and names an error at its
// position in the pattern as typed when the cleaned pattern alone is already wrong.
TEST(SearchRequest, CarriesSwitchesAndNamesErrorsInTheTypedPattern) {
    const SearchRequest request =
        SearchRequest::build(u"a.\r\nb", u"x\\ty", {.ignoreCase = true, .dotAll = true}, true);
    EXPECT_EQ(request.typedPattern(), u"a.\r\nb");
    EXPECT_EQ(request.cleanedPattern(), u"a.b");
    EXPECT_EQ(request.searchPattern(), u"a[\\s\\S]b");
    EXPECT_FALSE(request.error());
    EXPECT_EQ(request.expression().count(u"A\nB a-b"), 2u);

    const SearchRequest broken = SearchRequest::build(u"(a.", u"", {.dotAll = true}, false);
    ASSERT_TRUE(broken.error());
    EXPECT_EQ(*broken.error(), *SearchRequest::build(u"(a.", u"", {}, false).error());
}

}  // namespace
}  // namespace lodestar
