// Wide-text helpers: UTF-8 round trips and the replace, split and join rules engines rely on.
#include <gtest/gtest.h>

#include "core/text.h"

using namespace lodestar;

TEST(Text, Utf8RoundTripsBmpAndAstralCharacters) {
    std::u16string wide = u"a\u00e9\u0434\u20ac\U0001F600z";
    EXPECT_EQ(fromUtf8(toUtf8(wide)), wide);
    EXPECT_EQ(toUtf8(u"\u00e9"), "\xC3\xA9");
}

TEST(Text, InvalidUtf8AndLoneSurrogatesBecomeReplacementCharacters) {
    EXPECT_EQ(fromUtf8("a\xFF"
                       "b"),
              u"a\uFFFDb");
    EXPECT_EQ(fromUtf8("\xC3"), u"\uFFFD");
    EXPECT_EQ(fromUtf8("\xC0\x80"), u"\uFFFD\uFFFD");  // overlong NUL
    EXPECT_EQ(toUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");
}

TEST(Text, ReplaceAllIsLeftToRightAndNonOverlapping) {
    EXPECT_EQ(replacedAll(u"aaa", u"aa", u"b"), u"ba");
    EXPECT_EQ(replacedAll(u"x.y.z", u".", u"(.|\\n)"), u"x(.|\\n)y(.|\\n)z");
    EXPECT_EQ(replacedAll(u"abc", u"", u"-"), u"abc");
}

TEST(Text, SplitGivesOneMorePartThanSeparatorsAndJoinUndoesIt) {
    auto parts = splitText(u"a\r\nb\r\n", u"\r\n");
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[2], u"");
    EXPECT_EQ(joinText(parts, u"\r\n"), u"a\r\nb\r\n");
    EXPECT_EQ(splitText(u"", u",").size(), 1u);
}

TEST(Text, TrimRemovesOnlySpaces) {
    EXPECT_EQ(trimSpaces(u"  a b \t "), u"a b \t");
    EXPECT_EQ(trimSpaces(u"   "), u"");
}
