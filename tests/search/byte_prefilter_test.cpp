// The literals the byte prefilter works out from a pattern, with counted quantifiers of any
// size, and its set-up ending on every pattern, however long or broken.
#include "search/byte_prefilter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/text.h"
#include "support/finishes_in_time.h"

namespace lodestar {
namespace {

using testing::finishesInTime;

std::optional<BytePrefilter> filterFor(std::u16string_view pattern, bool ignoreCase = false) {
    return finishesInTime("the prefilter's set-up",
                          [&] { return BytePrefilter::forPattern(pattern, ignoreCase); });
}

TEST(BytePrefilterQuantifiers, CountsOfSeveralDigitsKeepOrDropTheCharacterBefore) {
    const struct {
        std::u16string_view pattern;
        std::vector<std::string> literals;  // empty: no filter
    } cases[] = {
        {u"\\d{10}", {}},         {u"[0-9a-f]{40}", {}},     {u".{80,}", {}},
        {u"id=\\d{10}", {"id="}}, {u"abc{10,20}d", {"abc"}},  // c is there at least ten times
        {u"abc{00}d", {"ab"}},  // a count of zero however written: c may be missing
        {u"abc{00,12}d", {"ab"}}, {u"xy{010}", {"xy"}},      {u"ab{12,}cd", {"ab"}},
        {u"(ab){10}cd", {"cd"}},  {u"ab{12", {"ab"}},  // no closing brace: a literal "{", not used
        {u"ab{1x}cd", {"1x}cd"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(toUtf8(c.pattern));
        const auto filter = filterFor(c.pattern);
        if (c.literals.empty()) {
            EXPECT_FALSE(filter.has_value());
        } else {
            ASSERT_TRUE(filter.has_value());
            EXPECT_EQ(filter->literals(), c.literals);
        }
    }
}

TEST(BytePrefilterQuantifiers, SetUpEndsOnLongAndBrokenPatterns) {
    const std::size_t n = 200'000;
    // `before`, `count` copies of `fill`, then `after`.
    const auto run = [](std::u16string before, std::size_t count, char16_t fill,
                        std::u16string_view after = u"") {
        return before.append(count, fill).append(after);
    };
    std::vector<std::u16string> patterns = {
        run(u"a{", n, u'9', u"}"), run(run(u"a{", n, u'1', u","), n, u'2'),
        run(u"", n, u'('),         run(u"", n, u'['),
        run(u"(", n, u'\\'),       run(u"", n, u'{'),
    };
    std::u16string groups;
    for (std::size_t i = 0; i < n / 4; ++i) groups += u"(a)|";
    patterns.push_back(groups);
    std::u16string counts;
    for (std::size_t i = 0; i < n / 8; ++i) counts += u"b{12,34}";
    patterns.push_back(counts);
    for (const std::u16string& pattern : patterns) {
        SCOPED_TRACE(toUtf8(pattern.substr(0, 12)));
        filterFor(pattern);
        filterFor(pattern, true);
    }
}

}  // namespace
}  // namespace lodestar
