// What the differential test against Node.js (oracle/oracle.mjs) cannot check: where the
// dialect departs from Node on line breaks and case folding, and the errors for refused patterns.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/text.h"
#include "search/regexp.h"

namespace lodestar {
namespace {

struct Options {
    bool ignoreCase = false;
    bool multiline = false;
};

RegExp make(std::u16string_view pattern, Options options = {}) {
    RegExp re;
    re.setPattern(pattern);
    re.setIgnoreCase(options.ignoreCase);
    re.setMultiline(options.multiline);
    re.setGlobal(true);
    return re;
}

std::vector<std::u16string> values(std::u16string_view pattern, std::u16string_view text,
                                   Options options = {}) {
    std::vector<std::u16string> found;
    for (const Match& m : make(pattern, options).execute(text)) found.push_back(m.value);
    return found;
}

using Values = std::vector<std::u16string>;

std::string errorOf(std::u16string_view pattern) {
    try {
        make(pattern).execute(u"abc");
    } catch (const RegExpError& e) {
        return e.what();
    }
    return "no error";
}

TEST(RegExpDialect, DotMatchesCarriageReturnButNotLineFeed) {
    EXPECT_EQ(values(u"a.c", u"a\rc a\nc a\u2028c"), (Values{u"a\rc", u"a\u2028c"}));
    EXPECT_EQ(values(u".+", u"ab\r\ncd"), (Values{u"ab\r", u"cd"}));
}

TEST(RegExpDialect, DollarWithoutMultilineIsTheVeryEndOnly) {
    EXPECT_TRUE(values(u"x$", u"x\n").empty());
    EXPECT_TRUE(values(u"x$", u"x\r\n").empty());
    EXPECT_EQ(values(u"x$", u"x\nx"), (Values{u"x"}));
}

TEST(RegExpDialect, ShorthandClassesStayAsciiUnderIgnoreCase) {
    const Options ic{.ignoreCase = true};
    EXPECT_EQ(values(u"\\d+", u"12\u0663", ic), (Values{u"12"}));
    EXPECT_EQ(values(u"\\w+", u"ab\u00e9c", ic), (Values{u"ab", u"c"}));
    EXPECT_EQ(values(u"\\bc", u"\u00e9c", ic), (Values{u"c"}));
    EXPECT_EQ(values(u"[\\w]+", u"ab\u00e9c", ic), (Values{u"ab", u"c"}));
    // No class reaches s or k through U+017F or U+212A.
    EXPECT_TRUE(values(u"[\\W]", u"sSkK", ic).empty());
    EXPECT_TRUE(values(u"[\\x80-\\uffff]", u"sk", ic).empty());
}

TEST(RegExpDialect, RefusedPatternsNameWhatAndWhere) {
    EXPECT_EQ(errorOf(u"(ab"), "missing ) at position 3");
    EXPECT_EQ(errorOf(u"ab)"), "unmatched ) at position 2");
    EXPECT_EQ(errorOf(u"a**"), "nothing to repeat at position 2");
    EXPECT_EQ(errorOf(u"x|{2}"), "nothing to repeat at position 2");
    EXPECT_EQ(errorOf(u"[abc"), "missing ] at position 4");
    EXPECT_EQ(errorOf(u"a[z-a]"), "range out of order in character class at position 2");
    EXPECT_EQ(errorOf(u"a{3,2}"), "numbers out of order in {} quantifier at position 1");
    EXPECT_EQ(errorOf(u"a{70000}"), "number too big in {} quantifier at position 1");
    EXPECT_EQ(errorOf(u"ab\\"), "\\ at end of pattern at position 2");
    // Look-behind, named groups, inline options and PCRE2's own groups are not in the dialect.
    for (const char16_t* pattern : {u"(?<=a)b", u"(?<n>a)", u"(?i)a", u"(?>a)", u"(*ACCEPT)"})
        EXPECT_NE(errorOf(pattern), "no error") << toUtf8(pattern);
}

TEST(RegExpDialect, ErrorsFromPcre2PointIntoTheTypedPattern) {
    // \s grows into a longer class in PCRE2 syntax; the position still counts typed units.
    std::u16string deep = u"\\s\\s\\s";
    for (int i = 0; i < 300; ++i) deep += u"(";
    for (int i = 0; i < 300; ++i) deep += u")";
    EXPECT_EQ(errorOf(deep), "parentheses are too deeply nested at position 257");
}

}  // namespace
}  // namespace lodestar
