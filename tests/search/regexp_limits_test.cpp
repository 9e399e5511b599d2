// Long texts and runaway patterns: long matches succeed, the rest ends with RegExpError.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "core/stop_token.h"
#include "search/regexp.h"
#include "support/expression.h"

namespace lodestar {
namespace {

constexpr std::size_t kTwentyMB = 20 * 1024 * 1024;

using testing::errorOf;

RegExp make(std::u16string_view pattern) {
    return testing::expression(pattern, {.ignoreCase = true});
}

// One comment per block, and no letter b.
constexpr std::u16string_view kBlock =
    u"<div class=\"row\">Some text &amp; more</div>\r\n<!-- note\r\n over lines -->\r\n";

std::u16string htmlLike(std::size_t size) {
    std::u16string text;
    text.reserve(size + kBlock.size());
    while (text.size() < size) text += kBlock;
    return text;
}

// prefix + `count` copies of `fill` + suffix.
std::u16string framed(std::u16string_view prefix, std::size_t count, char16_t fill,
                      std::u16string_view suffix) {
    std::u16string text(prefix);
    text.append(count, fill);
    text.append(suffix);
    return text;
}

TEST(RegExpLimits, LazyDotAllOverTwentyMegabytes) {
    const std::u16string text = htmlLike(kTwentyMB);
    const RegExp re = make(u"<!--[\\s\\S]*?-->");
    EXPECT_EQ(re.count(text), text.size() / kBlock.size());

    const std::u16string spanning = framed(u"<!--", kTwentyMB, u'\n', u"-->");
    const auto matches = re.execute(spanning);
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_EQ(matches[0].value.size(), spanning.size());
}

TEST(RegExpLimits, GreedyDotAllOverTwentyMegabytes) {
    std::u16string text = u"a";
    text += htmlLike(kTwentyMB);
    text += u"b and the rest";
    const auto matches = make(u"a[\\s\\S]*b").execute(text);
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_EQ(matches[0].index, 0u);
    EXPECT_EQ(matches[0].value.size(), text.size() - 13);  // up to the last b
}

TEST(RegExpLimits, TypedDotOrLineFeedSpanningOneMegabyte) {
    const std::u16string text = framed(u"xa", 1024 * 1024, u'\n', u"yb!");
    const auto matches = make(u"a(.|\\n)*?b").execute(text);
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_EQ(matches[0].index, 1u);
    EXPECT_EQ(matches[0].value.size(), text.size() - 2);
    EXPECT_EQ(matches[0].subMatches[0], u"y");
}

TEST(RegExpLimits, InterpreterTakesOverWhenTheJitStackRunsOut) {
    // Three million repetitions of a group need more than the 64 MiB JIT stack.
    const std::u16string text = framed(u"a", 3'000'000, u'x', u"b");
    EXPECT_EQ(make(u"a(.|\\n)*?b").count(text), 1u);
}

TEST(RegExpLimits, MatchBeyondJitStackAndInterpreterLimitsEndsWithAnError) {
    const std::u16string text = framed(u"a", kTwentyMB, u'x', u"b");
    const std::string message = errorOf(make(u"a(x|y)*b"), text);
    EXPECT_NE(message.find("too complex for this text"), std::string::npos) << message;
}

TEST(RegExpLimits, RunawayBudgetCoversEveryMatchOfTheText) {
    // Each match is cheap to find alone, but every run of a's before it costs about a million
    // steps: a budget per match would let the thousand matches run for a minute.
    std::u16string text;
    for (int block = 0; block < 1000; ++block) text += std::u16string(19, u'a') + u"b";
    const RegExp re = make(u"(a+)+c|b");
    const std::string message = errorOf(re, text);
    EXPECT_NE(message.find("too complex for this text"), std::string::npos) << message;
    // A few such matches stay within the budget.
    EXPECT_EQ(re.count(text.substr(0, 60)), 3u);
}

TEST(RegExpLimits, StopRequestEndsTheLoopBeforeItsNextSearch) {
    const RegExp re = make(u"b");
    const std::u16string text(1000, u'b');
    StopToken stop;
    std::size_t visited = 0;
    EXPECT_THROW(re.forEachMatch(
                     text,
                     [&](const MatchSpan&) {
                         if (++visited == 3) stop.request();
                     },
                     &stop),
                 SearchStopped);
    EXPECT_EQ(visited, 3u);
    EXPECT_THROW(re.count(text, &stop), SearchStopped);
    EXPECT_THROW(re.replace(text, u"c", &stop), SearchStopped);
    EXPECT_THROW(re.execute(text, &stop), SearchStopped);
    stop.reset();
    EXPECT_EQ(re.count(text, &stop), 1000u);
}

// One search that backtracks for its whole budget over a long text still hears a stop: between
// its growing attempts, long before the budget would end it with an error.
TEST(RegExpLimits, StopReachesASingleSearchThatBacktracksOverALongText) {
    const RegExp re = make(u"(a|aa)*c");
    const std::u16string text(20'000'000, u'a');
    StopToken stop;
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        stop.request();
    });
    EXPECT_THROW(re.count(text, &stop), SearchStopped);
    stopper.join();
}

}  // namespace
}  // namespace lodestar
