// Pattern building judged by what the built pattern matches through the engine.
#include <gtest/gtest.h>

#include <random>

#include "core/text.h"
#include "files/text_file.h"
#include "search/escapes.h"
#include "search/expression_ops.h"
#include "search/pattern.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

// Values of all matches of the pattern as built with the dot switch given.
std::vector<std::u16string> found(std::u16string_view pattern, std::u16string_view text,
                                  bool dotAll = true) {
    RegExp expr;
    expr.setGlobal(true);
    expr.setPattern(buildPattern(pattern, u"", dotAll, false).searchPattern);
    std::vector<std::u16string> values;
    for (const Match& m : expr.execute(text)) values.push_back(m.value);
    return values;
}

std::u16string replaced(std::u16string_view pattern, std::u16string_view text,
                        std::u16string_view replacement) {
    RegExp expr;
    expr.setGlobal(true);
    const BuiltPattern built = buildPattern(pattern, replacement, true, false);
    expr.setPattern(built.searchPattern);
    return replaceIn(expr, text, built.replaceText);
}

using Values = std::vector<std::u16string>;

TEST(BuildPattern, LineBreaksAndTabsAreCleanedFromBoxAndPattern) {
    const BuiltPattern built = buildPattern(u"ab\r\n\tc\nd\r", u"", false, false);
    EXPECT_EQ(built.cleaned, u"abcd");
    EXPECT_EQ(built.searchPattern, u"abcd");
    // The box keeps the dots as typed; only the engine's pattern is rewritten.
    EXPECT_EQ(buildPattern(u"a.\nb", u"", true, false).cleaned, u"a.b");
}

TEST(BuildPattern, WildcardDotMatchesLineFeedOnlyWithDotAll) {
    EXPECT_EQ(found(u"a.b", u"a\nb axb"), (Values{u"a\nb", u"axb"}));
    EXPECT_EQ(found(u"a.b", u"a\nb axb a\rb", false), (Values{u"axb", u"a\rb"}));
    EXPECT_EQ(found(u"<.*>", u"<a\n\nb> c"), (Values{u"<a\n\nb>"}));
}

TEST(BuildPattern, EscapedDotStaysLiteral) {
    EXPECT_EQ(found(u"a\\.b", u"a.b axb a\nb"), (Values{u"a.b"}));
}

TEST(BuildPattern, DotInsideBracketClassStaysLiteral) {
    EXPECT_EQ(found(u"[.]", u"x.\n("), (Values{u"."}));
    EXPECT_EQ(found(u"[^.]", u".a."), (Values{u"a"}));
    // An escaped "]" does not close the class, so the dot after it is still inside.
    EXPECT_EQ(found(u"[\\].]+", u"x].\ny"), (Values{u"]."}));
}

TEST(BuildPattern, DotAfterCompleteEmptyClassIsWildcard) {
    // "[^]" is a whole class (any character), so the dot after it is outside the class.
    EXPECT_EQ(found(u"[^].", u"a\n"), (Values{u"a\n"}));
    EXPECT_EQ(found(u"x[^]*.", u"x\n\n"), (Values{u"x\n\n"}));
}

TEST(BuildPattern, DotAfterEscapedBackslashIsWildcard) {
    EXPECT_EQ(found(u"\\\\.", u"\\\n \\x"), (Values{u"\\\n", u"\\x"}));
}

TEST(BuildPattern, RewriteAddsNoCapturingGroup) {
    EXPECT_EQ(replaced(u"(a).(b)", u"a\nb", u"[$2|$1]"), u"[b|a]");
    RegExp expr;
    expr.setPattern(buildPattern(u"(a).(b)", u"", true, false).searchPattern);
    const std::vector<Match> matches = expr.execute(u"a-b");
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_EQ(matches[0].subMatches.size(), 2u);
}

TEST(BuildPattern, UsersOwnAnyOrLineFeedGroupStillWorks) {
    EXPECT_EQ(found(u"x(.|\\n)y", u"x\ny x-y"), (Values{u"x\ny", u"x-y"}));
    EXPECT_EQ(replaced(u"x(.|\\n)(y)", u"x\ny", u"$1$2"), u"\ny");
}

TEST(BuildPattern, ReplacementIsDecoded) {
    EXPECT_EQ(buildPattern(u"a", u"x\\ty", false, true).replaceText, u"x\ty");
    EXPECT_EQ(buildPattern(u"a", u"x\\ty", false, false).replaceText, u"x\\ty");
}

TEST(DecodeEscapes, DoubledBackslashIsOneBackslashAndNeverStartsAnEscape) {
    for (bool on : {false, true}) {
        EXPECT_EQ(decodeEscapes(u"a\\\\tb", on), u"a\\tb") << on;
        EXPECT_EQ(decodeEscapes(u"\\\\\\\\", on), u"\\\\") << on;
    }
    // A backslash pair, then an escape.
    EXPECT_EQ(decodeEscapes(u"\\\\\\n", true), u"\\\n");
    EXPECT_EQ(decodeEscapes(u"\\\\\\n", false), u"\\\\n");
}

TEST(DecodeEscapes, ControlEscapesOnlyWithSupport) {
    EXPECT_EQ(decodeEscapes(u"a\\tb\\r\\n", true), u"a\tb\r\n");
    EXPECT_EQ(decodeEscapes(u"a\\tb\\r\\n", false), u"a\\tb\\r\\n");
}

TEST(DecodeEscapes, OtherTextPassesUnchanged) {
    for (bool on : {false, true}) {
        // Text that looks like an internal stand-in for a backslash must survive.
        EXPECT_EQ(decodeEscapes(u"a\\%=b", on), u"a\\%=b") << on;
        EXPECT_EQ(decodeEscapes(u"\\q $1 \\", on), u"\\q $1 \\") << on;
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

TEST(CountInFile, ReturnsTheMatchesOfTheFileText) {
    testing::TempDir dir;
    const std::u16string path = dir.put("a.txt", "Cat\r\ncat dog");
    RegExp expr;
    expr.setGlobal(true);
    expr.setIgnoreCase(true);
    expr.setPattern(u"cat");
    const std::vector<Match> matches = countInFile(expr, path);
    ASSERT_EQ(matches.size(), 2u);
    EXPECT_EQ(matches[0].value, u"Cat");
    EXPECT_EQ(matches[1].index, 5u);
    EXPECT_THROW(countInFile(expr, dir.file("missing.txt")), FileError);
}

}  // namespace
}  // namespace lodestar
