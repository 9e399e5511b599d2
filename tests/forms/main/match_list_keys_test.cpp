// The match list's keys: the page reports them as moves, and the window moves as its buttons do.
#include "forms/main/window_fixture.h"

namespace lodestar::testing {
namespace {

using MatchListKeys = WindowTest;

TEST_F(MatchListKeys, KeysMoveBetweenMatchesAndTheListFollows) {
    openNew("a.txt", "x\nx\nx\nx");
    find(u"x");
    const std::u16string page = matches().address();
    struct Step {
        const char16_t* move;
        const char* counter;
    };
    const std::vector<Step> steps = {
        {u"next", "2/4"}, {u"next", "3/4"}, {u"prev", "2/4"},  {u"last", "4/4"},
        {u"next", "1/4"}, {u"prev", "4/4"}, {u"first", "1/4"}, {u"current", "1/4"},
    };
    for (const Step& s : steps) {
        EXPECT_TRUE(w->onBeforeNavigate(Pane::MatchView, page + u"#" + s.move));
        EXPECT_EQ(text("matchNo"), s.counter) << u8(s.move);
        const std::size_t k = std::stoul(text("matchNo")) - 1;
        EXPECT_EQ(u8(source().markBackground(k)), "gold") << u8(s.move);
        EXPECT_EQ(u8(matches().entryBackground(k)), "rgb(230,230,230)") << u8(s.move);
        ASSERT_TRUE(matches().lastScroll());
        EXPECT_EQ(matches().lastScroll()->index, k) << u8(s.move);
    }
    // Without a result the keys do nothing, and the page stays where it is.
    find(u"nothing");
    EXPECT_TRUE(w->onBeforeNavigate(Pane::MatchView, page + u"#next"));
    EXPECT_EQ(text("matchNo"), "0/0");
}

}  // namespace
}  // namespace lodestar::testing
