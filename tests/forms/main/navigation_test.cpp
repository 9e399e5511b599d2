// Moving between matches: buttons, the list's keys and clicks, the timer, the clipboard clean-up.
#include "forms/main/window_fixture.h"

namespace lodestar::testing {
namespace {

using Navigation = WindowTest;

TEST_F(Navigation, TheTimerMovesToTheFirstMatchOnceTheSourcePaneHasLoaded) {
    openNew("a.txt", "x x x");
    w->typeText("inRepFrom", u"x");
    w->click("btnFind");
    EXPECT_TRUE(timer.armed);
    EXPECT_EQ(timer.interval, 1);
    EXPECT_EQ(text("matchNo"), "0/3");  // zero of the total until the first move
    EXPECT_TRUE(c("btnNext").enabled);
    EXPECT_FALSE(c("btnPrev").enabled);
    source().navigate(source().address());  // still loading: the tick waits
    w->onTimer1Tick();
    EXPECT_TRUE(timer.armed);
    EXPECT_EQ(text("matchNo"), "0/3");
    w->pane(Pane::SuperMonitor).loaded(source().address(), u"<body>" + w->file().renderedSource());
    w->onTimer1Tick();
    EXPECT_FALSE(timer.armed);
    EXPECT_EQ(text("matchNo"), "1/3");
    EXPECT_EQ(u8(source().markBackground(0)), "gold");
    EXPECT_EQ(u8(matches().entryBackground(0)), "rgb(230,230,230)");
    EXPECT_TRUE(c("btnPrev").enabled);
    ASSERT_TRUE(source().lastScroll());
    EXPECT_EQ(source().lastScroll()->index, 0u);
}

// The buttons and the match list's keys (which the page reports as moves) move alike, wrapping
// around; the source's mark, the list's entry and the list's scroll follow.
TEST_F(Navigation, ButtonsAndListKeysMoveAndWrapAround) {
    openNew("a.txt", "x\nx\nx\nx");
    find(u"x");
    const std::u16string page = matches().address();
    const std::pair<const char*, const char*> steps[] = {
        {"btnPrev", "4/4"}, {"btnNext", "1/4"}, {"btnNext", "2/4"}, {"#next", "3/4"},
        {"#prev", "2/4"},   {"#last", "4/4"},   {"#next", "1/4"},   {"#prev", "4/4"},
        {"#first", "1/4"},  {"#current", "1/4"}};
    std::size_t before = 0;
    for (const auto& [move, counter] : steps) {
        if (move[0] == '#')
            EXPECT_TRUE(w->onBeforeNavigate(Pane::MatchView, page + fromUtf8(move)));
        else
            w->click(move);
        EXPECT_EQ(text("matchNo"), counter) << move;
        const std::size_t k = std::stoul(text("matchNo")) - 1;
        EXPECT_EQ(u8(source().markBackground(k)), "gold") << move;
        EXPECT_EQ(u8(matches().entryBackground(k)), "rgb(230,230,230)") << move;
        if (before != k) {
            EXPECT_EQ(u8(source().markBackground(before)), "") << move;
            EXPECT_EQ(u8(matches().entryBackground(before)), "white") << move;
        }
        ASSERT_TRUE(matches().lastScroll());
        EXPECT_EQ(matches().lastScroll()->index, k) << move;
        before = k;
    }
    // Without a result the keys do nothing.
    find(u"nothing");
    EXPECT_TRUE(w->onBeforeNavigate(Pane::MatchView, page + u"#next"));
    EXPECT_EQ(text("matchNo"), "0/0");
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

using PatternPaste = WindowTest;

// Text copied from the source view becomes a one-line pattern when pasted into the pattern box
// (marks of invisible characters as escapes, line breaks and tabs dropped); text from anywhere
// else is pasted as it is, and the clipboard is never rewritten.
TEST_F(PatternPaste, CleansOnlyTextCopiedFromTheSourceView) {
    struct Case {
        std::u16string copiedInView;  // empty: nothing copied from the view
        std::u16string pasted;
        std::string inserted;
    };
    const Case cases[] = {
        {u"a\u00B7b______ c\u2193\u300F\r\nd", u"a\u00B7b______ c\u2193\u300F\r\nd",
         "a b\\tc\\r\\nd"},
        {u"one\r\ntwo\tthree", u"one\ntwo\tthree", "onetwothree"},  // line ends may change
        {u"from the view", u"line one\r\nline two", "line one\r\nline two"},
        {u"", u"a\u00B7b\r\n", "a\u00B7b\r\n"},
    };
    for (const Case& k : cases) {
        MainWindow fresh(program.folder(), WindowServices{prompts, clipboard, timer, shell});
        if (!k.copiedInView.empty()) fresh.file().onSourceCopied(k.copiedInView);
        clipboard.setText(k.pasted);
        const int writes = clipboard.writes;
        EXPECT_EQ(u8(fresh.file().patternPaste(clipboard.text())), k.inserted) << k.inserted;
        EXPECT_EQ(clipboard.text(), k.pasted);
        EXPECT_EQ(clipboard.writes, writes);
    }
}

// The selection becomes a pattern that finds exactly it: characters with a meaning in a
// pattern are escaped, line breaks and tabs come from the marks when they are shown.
TEST_F(PatternPaste, UseSelectionAsPatternFindsExactlyTheSelection) {
    openNew("a.txt", "f(x) = a.b*2\tend\r\nnext [1]\r\n");
    w->useSelectionAsPattern(u"f(x) = a.b*2\tend\r\nnext [1]");
    EXPECT_EQ(text("inRepFrom"), "f\\(x\\) = a\\.b\\*2\\tend\\r\\nnext \\[1\\]");
    EXPECT_EQ(c("inRepFrom").selStart, c("inRepFrom").text.size());
    find(c("inRepFrom").text);
    EXPECT_EQ(text("matchNo"), "1/1");

    w->click("btnViewIn");  // the view shows marks; its text carries them beside the breaks
    w->useSelectionAsPattern(u"2______ end\u2193\u300F\r\nnext");
    EXPECT_EQ(text("inRepFrom"), "2\\tend\\r\\nnext");
    find(c("inRepFrom").text);
    EXPECT_EQ(text("matchNo"), "1/1");
    w->useSelectionAsPattern(u"");  // nothing selected: the pattern stays
    EXPECT_EQ(text("inRepFrom"), "2\\tend\\r\\nnext");
}

}  // namespace
}  // namespace lodestar::testing
