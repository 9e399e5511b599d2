// The byte path against the decoded path on texts without an address; the table of patterns,
// switches and texts on both paths is the fuzz_byte_paths seed corpus.
#include <gtest/gtest.h>

#include "core/text.h"
#include "search/byte_matcher.h"
#include "search/regexp.h"
#include "support/expression.h"

namespace lodestar {
namespace {

using testing::expression;

// An empty view without an address (a default-constructed one) is an empty text like any other.
TEST(BytePaths, EmptyViewsWithoutAnAddressAreEmptyTexts) {
    for (const std::u16string_view pattern : {u"^.*$$", u"(?:a|)b*", u"$"}) {
        SCOPED_TRACE(toUtf8(pattern));
        const RegExp expr = expression(pattern, {.multiline = true});
        EXPECT_EQ(expr.count(std::u16string_view()), expr.count(u""));
        EXPECT_EQ(expr.replace(std::u16string_view(), u"x"), expr.replace(u"", u"x"));
        const auto matcher = ByteMatcher::forPattern(pattern, false, true);
        ASSERT_TRUE(matcher);
        EXPECT_EQ(matcher->count(std::string_view(), true), matcher->count("", true));
    }
}

}  // namespace
}  // namespace lodestar
