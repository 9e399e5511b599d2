// Wide-text helpers, and work spread over threads whose results meet the caller in order.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "core/ordered_work.h"
#include "core/text.h"

namespace lodestar {
namespace {

TEST(Text, Utf8RoundTripsBmpAndAstralCharacters) {
    std::u16string wide = u"a\u00e9\u0434\u20ac\U0001F600z";
    EXPECT_EQ(fromUtf8(toUtf8(wide)), wide);
    EXPECT_EQ(toUtf8(u"\u00e9"), "\xC3\xA9");
}

TEST(Text, BytesThatAreNotUtf8SurviveTheRoundTripAndShowEscaped) {
    const std::pair<std::string, std::u16string> cases[] = {
        {"caf\xE9.txt", u"caf\xDCE9.txt"},        // Windows-1252 name
        {"\xC3", u"\xDCC3"},                      // cut-off sequence
        {"\xC0\x80", u"\xDCC0\xDC80"},            // overlong NUL
        {"\xED\xA0\x80", u"\xDCED\xDCA0\xDC80"},  // an encoded surrogate
        {"a\xFF\xC3\xA9", u"a\xDCFF\u00E9"},      // valid UTF-8 after a bad byte
    };
    for (const auto& [bytes, wide] : cases) {
        EXPECT_EQ(fromUtf8(bytes), wide) << bytes;
        EXPECT_EQ(toUtf8(fromUtf8(bytes)), bytes) << bytes;
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

// Later items finish first, so only the ordering can put them back in line.
std::size_t slowFirst(std::size_t item, std::size_t count) {
    std::this_thread::sleep_for(std::chrono::microseconds(50 * (count - item)));
    return item * item;
}

TEST(RunInOrder, TakesEveryResultInOrderFailsAtTheFailingItemAndStopsAfterStartedOnes) {
    constexpr std::size_t kCount = 40;
    for (const unsigned threads : {1u, 2u, 5u}) {
        SCOPED_TRACE(threads);
        std::vector<std::size_t> taken;
        const auto work = [&](unsigned, std::size_t i) { return slowFirst(i, kCount); };
        const auto take = [&](std::size_t i, std::size_t& result) {
            EXPECT_EQ(result, i * i);
            taken.push_back(i);
            return true;
        };
        EXPECT_EQ(runInOrder<std::size_t>(kCount, threads, 3, work, take), kCount);
        for (std::size_t i = 0; i < kCount; ++i) EXPECT_EQ(taken[i], i);

        // A failure of item 7 reaches the caller after items 0..6, and nothing after it.
        taken.clear();
        std::atomic<std::size_t> highestStarted{0};
        const auto failing = [&](unsigned, std::size_t i) -> std::size_t {
            highestStarted = std::max<std::size_t>(highestStarted, i);
            if (i == 7) throw std::runtime_error("item 7");
            return slowFirst(i, kCount);
        };
        EXPECT_THROW(runInOrder<std::size_t>(kCount, threads, 3, failing, take),
                     std::runtime_error);
        EXPECT_EQ(taken, (std::vector<std::size_t>{0, 1, 2, 3, 4, 5, 6}));
        EXPECT_LT(highestStarted, 7 + 3 + threads);  // at most `ahead` results wait

        // A stop while item 4 is taken: nothing after it is taken, as in a one-thread loop.
        taken.clear();
        StopToken stop;
        const auto stopping = [&](std::size_t i, std::size_t&) {
            taken.push_back(i);
            if (i == 4) stop.request();
            return true;
        };
        EXPECT_EQ(runInOrder<std::size_t>(kCount, threads, 3, work, stopping, &stop), 5u);
        EXPECT_EQ(taken, (std::vector<std::size_t>{0, 1, 2, 3, 4}));
    }
}

// Items found a few at a time (sometimes none) are taken in the order found, with the walk's
// failure after every item found before it.
TEST(RunInOrder, ItemsFoundWhileTheRunGoesAreTakenInOrderFoundAndAFindFailureComesLast) {
    for (const unsigned threads : {1u, 2u, 5u}) {
        SCOPED_TRACE(threads);
        for (const bool failing : {false, true}) {
            std::size_t next = 0;
            const auto find = [&](std::vector<std::size_t>& items) {
                const std::size_t n = next % 3;  // 0, 1 or 2 items in turn: 1, 2 3, 4, 5 6 ...
                for (std::size_t k = 0; k < n; ++k) items.push_back(next + k);
                next += std::max<std::size_t>(n, 1);
                if (failing && next > 20) throw std::runtime_error("walk");
                return next < 30;
            };
            std::vector<std::size_t> taken;
            const auto take = [&](std::size_t i, std::size_t& item, std::size_t& result) {
                EXPECT_EQ(result, item * item);
                EXPECT_EQ(item, i + 1);
                taken.push_back(item);
                return true;
            };
            const auto work = [](unsigned, std::size_t, const std::size_t& item) {
                return slowFirst(item, 40);
            };
            const auto run = [&] {
                return runInOrderAsFound<std::size_t, std::size_t>(threads, 3, find, work, take);
            };
            std::size_t done = 0;
            if (failing) {
                EXPECT_THROW(run(), std::runtime_error);
            } else {
                done = run();
            }
            // Up to 30; or up to 21, the items found by the call that failed included.
            const std::size_t expected = failing ? 21 : 30;
            EXPECT_EQ(taken.size(), expected);
            if (!failing) {
                EXPECT_EQ(done, expected);
            }
        }
    }
}

}  // namespace
}  // namespace lodestar
