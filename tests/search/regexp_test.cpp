// RegExp as its callers use it, beyond single results (which oracle/oracle.mjs compares with
// Node.js, empty matches and count/forEachMatch agreement included): the switches and the
// compile cache, errors at use, copies, threads, nested loops.
#include "search/regexp.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace lodestar {
namespace {

RegExp make(std::u16string_view pattern, bool global = true) {
    RegExp re;
    re.setPattern(pattern);
    re.setGlobal(global);
    return re;
}

TEST(RegExp, BadPatternIsAcceptedWhenSetAndFailsAtUse) {
    RegExp re;
    re.setPattern(u"(ab");
    EXPECT_EQ(re.pattern(), u"(ab");
    EXPECT_THROW(re.execute(u"ab"), RegExpError);
    EXPECT_THROW(re.count(u"ab"), RegExpError);
    EXPECT_THROW(re.forEachMatch(u"ab", [](const MatchSpan&) {}), RegExpError);
    EXPECT_THROW(re.replace(u"ab", u"x"), RegExpError);
    re.setPattern(u"(ab)");
    EXPECT_EQ(re.count(u"ab"), 1u);
}

TEST(RegExp, SwitchesTakeEffectOnTheNextUse) {
    RegExp re = make(u"^b");
    EXPECT_EQ(re.count(u"a\nB"), 0u);
    re.setMultiline(true);
    EXPECT_EQ(re.count(u"a\nB"), 0u);
    re.setIgnoreCase(true);
    EXPECT_EQ(re.count(u"a\nB"), 1u);
    re.setMultiline(false);
    EXPECT_EQ(re.count(u"a\nB"), 0u);
    RegExp o = make(u"o", false);
    EXPECT_EQ(o.replace(u"foo", u"0"), u"f0o");
    o.setGlobal(true);
    EXPECT_EQ(o.replace(u"foo", u"0"), u"f00");
}

TEST(RegExp, CopiesAreIndependent) {
    RegExp original = make(u"a");
    EXPECT_EQ(original.count(u"aA"), 1u);
    RegExp copy = original;
    copy.setIgnoreCase(true);
    copy.setPattern(u"[ab]");
    EXPECT_EQ(copy.count(u"aAbB"), 4u);
    EXPECT_EQ(original.count(u"aAbB"), 1u);
    RegExp moved = std::move(copy);
    EXPECT_EQ(moved.count(u"aAbB"), 4u);
    original = moved;
    EXPECT_EQ(original.pattern(), u"[ab]");
    EXPECT_EQ(original.count(u"aAbB"), 4u);
}

TEST(RegExp, CopiesMatchOnSeveralThreadsAtOnce) {
    RegExp shared = make(u"(\\w+)@(\\w+)");
    shared.setIgnoreCase(true);
    std::u16string text;
    for (int i = 0; i < 20000; ++i) text += u"mail me@here or you@there; ";
    shared.count(u"compile once here");
    std::vector<std::size_t> counts(4);
    std::vector<std::thread> threads;
    for (std::size_t t = 0; t < counts.size(); ++t)
        threads.emplace_back([&, t, re = shared] { counts[t] = re.execute(text).size(); });
    for (auto& thread : threads) thread.join();
    for (std::size_t c : counts) EXPECT_EQ(c, 40000u);
}

TEST(RegExp, VisitorMayUseAnotherExpression) {
    // Matching inside a visitor must not disturb the outer loop's state.
    RegExp outer = make(u"\\w+");
    RegExp inner = make(u"[aeiou]");
    std::vector<std::size_t> vowels;
    const std::u16string text = u"alpha beta gamma";
    outer.forEachMatch(text, [&](const MatchSpan& s) {
        vowels.push_back(inner.count(text.substr(s.index, s.length)));
    });
    EXPECT_EQ(vowels, (std::vector<std::size_t>{2, 2, 2}));
}

}  // namespace
}  // namespace lodestar
