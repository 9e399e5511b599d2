// The history of patterns used during a run.
#include "settings/used_patterns.h"

#include <gtest/gtest.h>

#include "core/error.h"
#include "core/text.h"

namespace lodestar {
namespace {

using Patterns = std::vector<std::u16string>;

TEST(UsedPatterns, SkipsOnlyARepeatOfTheNewest) {
    UsedPatterns h;
    EXPECT_TRUE(h.add(u"a"));
    EXPECT_FALSE(h.add(u"a"));
    EXPECT_TRUE(h.add(u"b"));
    EXPECT_TRUE(h.add(u"a"));
    EXPECT_TRUE(h.add(u"A"));
    EXPECT_EQ(h.entries(), (Patterns{u"a", u"b", u"a", u"A"}));
}

TEST(UsedPatterns, BlankIsTheNewestWhileEmpty) {
    UsedPatterns h;
    EXPECT_FALSE(h.add(u"Blank"));
    EXPECT_TRUE(h.add(u""));
    EXPECT_TRUE(h.add(u"Blank"));
    EXPECT_EQ(h.entries(), (Patterns{u"", u"Blank"}));
}

TEST(UsedPatterns, PickGivesThePatternAndLeavesTheHistory) {
    UsedPatterns h;
    h.add(u"x&y");
    h.add(u"-");
    EXPECT_EQ(h.pick(0), u"");
    EXPECT_EQ(h.pick(1), u"x&y");
    EXPECT_EQ(h.pick(2), u"-");
    EXPECT_THROW(h.pick(3), Error);
    EXPECT_EQ(h.count(), 2u);

    h.clear();
    EXPECT_EQ(h.count(), 0u);
    EXPECT_EQ(h.pick(0), u"");
    EXPECT_FALSE(h.add(u"Blank"));
    EXPECT_TRUE(h.add(u"x&y"));
}

TEST(UsedPatterns, KeepsTheNewest255) {
    UsedPatterns h;
    for (int i = 0; i < 300; ++i) h.add(u"p" + decimal(i));
    ASSERT_EQ(h.count(), UsedPatterns::kCapacity);
    EXPECT_EQ(h.entries().front(), u"p45");
    EXPECT_EQ(h.entries().back(), u"p299");
    EXPECT_FALSE(h.add(u"p299"));
    EXPECT_EQ(h.pick(255), u"p299");
}

TEST(MenuCaption, DoublesAmpersandsOnly) {
    EXPECT_EQ(menuCaption(u"a&b&&c-"), u"a&&b&&&&c-");
}

}  // namespace
}  // namespace lodestar
