// Wide-text helpers: UTF-8 round trips and the replace, split and join rules engines rely on.
#include <gtest/gtest.h>

#include "core/text.h"

using namespace lodestar;

TEST(Text, Utf8RoundTripsBmpAndAstralCharacters) {
    std::u16string wide = u"a\u00e9\u0434\u20ac\U0001F600z";
    EXPECT_EQ(fromUtf8(toUtf8(wide)), wide);
    EXPECT_EQ(toUtf8(u"\u00e9"), "\xC3\xA9");
}

TEST(Text, BytesThatAreNotUtf8SurviveTheRoundTripAndShowEscaped) {
    const struct {
        std::string bytes;
        std::u16string wide;
    } cases[] = {
        {"caf\xE9.txt", u"caf\xDCE9.txt"},        // Windows-1252 name
        {"\xC3", u"\xDCC3"},                      // cut-off sequence
        {"\xC0\x80", u"\xDCC0\xDC80"},            // overlong NUL
        {"\xED\xA0\x80", u"\xDCED\xDCA0\xDC80"},  // an encoded surrogate
        {"a\xFF\xC3\xA9", u"a\xDCFF\u00E9"},      // valid UTF-8 after a bad byte
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fromUtf8(c.bytes), c.wide) << c.bytes;
        EXPECT_EQ(toUtf8(fromUtf8(c.bytes)), c.bytes) << c.bytes;
    }
    // Other lone surrogates have no byte to stand for.
    EXPECT_EQ(toUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");
    EXPECT_EQ(displayText(fromUtf8("caf\xE9\n\t\x01\xC3\xA9.txt")),
              "caf\\xE9\\n\\t\\x01\xC3\xA9.txt");
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
