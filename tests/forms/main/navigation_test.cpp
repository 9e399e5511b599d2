// Moving between matches: next and previous with wrap-around, clicks in the list, the timer,
// the counter box, and the clipboard clean-up.
#include "forms/main/window_fixture.h"

namespace lodestar::testing {
namespace {

using Navigation = WindowTest;

TEST_F(Navigation, TheTimerMovesToTheFirstMatchOnceTheSourcePaneHasLoaded) {
    openNew("a.txt", "x x x");
    w->typeText("inRepFrom", u"x");
    w->click("btnFind");
    source().navigate(source().address());  // still loading: the tick waits
    w->onTimer1Tick();
    EXPECT_TRUE(timer.armed);
    EXPECT_EQ(text("matchNo"), "0/3");
    w->pane(Pane::SuperMonitor).loaded(source().address(), u"<body>" + w->renderedSource);
    w->onTimer1Tick();
    EXPECT_FALSE(timer.armed);
    EXPECT_EQ(text("matchNo"), "1/3");
    EXPECT_EQ(u8(source().markBackground(0)), "gold");
    EXPECT_EQ(u8(matches().entryBackground(0)), "rgb(230,230,230)");
    EXPECT_TRUE(c("btnPrev").enabled);
    ASSERT_TRUE(source().lastScroll());
    EXPECT_EQ(source().lastScroll()->index, 0u);
}

TEST_F(Navigation, NextAndPreviousWrapAround) {
    openNew("a.txt", "x x x");
    find(u"x");
    w->click("btnPrev");
    EXPECT_EQ(text("matchNo"), "3/3");
    EXPECT_EQ(u8(source().markBackground(2)), "gold");
    EXPECT_EQ(u8(source().markBackground(0)), "");
    EXPECT_EQ(u8(matches().entryBackground(0)), "white");
    EXPECT_EQ(matches().lastScroll()->index, 2u);
    w->click("btnNext");
    EXPECT_EQ(text("matchNo"), "1/3");
    w->click("btnNext");
    EXPECT_EQ(text("matchNo"), "2/3");
    EXPECT_EQ(u8(source().markBackground(1)), "gold");
    EXPECT_EQ(u8(source().markBackground(0)), "");
}

TEST_F(Navigation, WithOneMatchEveryMoveStaysOnItHighlighted) {
    openNew("a.txt", "one x");
    find(u"x");
    for (const char* button : {"btnNext", "btnPrev", "btnNext"}) {
        w->click(button);
        EXPECT_EQ(text("matchNo"), "1/1");
        EXPECT_EQ(u8(source().markBackground(0)), "gold");
    }
}

TEST_F(Navigation, AClickOnAListEntryMovesThereAndIsCancelled) {
    openNew("a.txt", "a b c d");
    find(u"\\w");
    const std::u16string list = matches().address();
    EXPECT_TRUE(w->onBeforeNavigate(Pane::MatchView, list + u"#3"));
    EXPECT_EQ(text("matchNo"), "3/4");
    EXPECT_EQ(u8(source().markBackground(2)), "gold");
    EXPECT_EQ(u8(matches().entryBackground(2)), "rgb(230,230,230)");
    EXPECT_TRUE(w->onBeforeNavigate(Pane::MatchView, list + u"#3"));  // the current one
    EXPECT_EQ(u8(source().markBackground(2)), "gold");
    EXPECT_FALSE(w->onBeforeNavigate(Pane::MatchView, list));
    EXPECT_TRUE(w->onBeforeNavigate(Pane::MatchView, list + u"#99"));  // no such match
    EXPECT_EQ(text("matchNo"), "3/4");
}

TEST_F(Navigation, MovesWorkBeyond32767Matches) {
    openNew("many.txt", std::string(40000, 'z'));
    find(u"z");
    EXPECT_TRUE(w->onBeforeNavigate(Pane::MatchView, matches().address() + u"#40000"));
    EXPECT_EQ(text("matchNo"), "40000/40000");
    w->click("btnNext");
    EXPECT_EQ(text("matchNo"), "1/40000");
    w->click("btnPrev");
    EXPECT_EQ(text("matchNo"), "40000/40000");
    EXPECT_EQ(u8(source().markBackground(39999)), "gold");
}

using ClipboardCleanUp = WindowTest;

// Marks of invisible characters become escapes; plain line breaks and tabs are dropped.
TEST_F(ClipboardCleanUp, TurnsTextCopiedFromTheSourceViewIntoAOneLinePattern) {
    for (const auto& [copied, pattern] : {std::pair<std::u16string, std::string>{
                                              u"a\u00B7b______ c\u2193\u300F\nd", "a b\\tc\\r\\nd"},
                                          {u"one\r\ntwo\tthree", "onetwothree"}}) {
        clipboard.setText(copied);
        w->onSourceCopied(copied);
        w->onSourceFocusLost();
        EXPECT_EQ(u8(clipboard.text()), pattern);
    }
}

TEST_F(ClipboardCleanUp, LeavesTextFromAnotherProgramAlone) {
    w->onSourceCopied(u"from the view");
    clipboard.setText(u"line one\r\nline two");  // copied elsewhere afterwards
    const int writes = clipboard.writes;
    w->onSourceFocusLost();
    EXPECT_EQ(u8(clipboard.text()), "line one\r\nline two");
    EXPECT_EQ(clipboard.writes, writes);

    MainWindow fresh(program.folder(), WindowServices{prompts, clipboard, timer, shell});
    fresh.onSourceFocusLost();  // nothing was ever copied from the view
    EXPECT_EQ(clipboard.writes, writes);
}

}  // namespace
}  // namespace lodestar::testing
