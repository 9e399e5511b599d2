// The window never loses the user's text and says what really happened: re-shows search the
// text in memory, a failed reload or a page that never loads is reported, the newest text wins
// over a page still loading, and nothing happens after shut-down.
#include <filesystem>

#include "forms/main/window_fixture.h"

namespace lodestar::testing {
namespace {

namespace fs = std::filesystem;

using Truth = WindowTest;

// Re-showing the source view after an unsaved replace keeps the replaced text, also when the
// file has gone from the disk meanwhile, and Save then writes it.
TEST_F(Truth, ReShowingTheSourceViewKeepsTheUnsavedText) {
    for (bool vanished : {false, true}) {
        openNew("b.txt", "banana");
        replace(u"a", u"o");
        find(u"o");
        if (vanished) fs::remove(docs.path() / "b.txt");
        const std::string before = log();
        w->click("btnViewIn");
        w->click("mViewIn");
        EXPECT_EQ(u8(w->document().text), "bonono") << vanished;
        EXPECT_EQ(u8(source().bodyText()), "bonono") << vanished;
        EXPECT_EQ(source().markCount(), 3u) << vanished;
        EXPECT_EQ(log(), before) << vanished;  // no reload, so nothing to fail
        ASSERT_TRUE(c("btnSave").enabled) << vanished;
        w->click("btnSave");
        if (vanished) {  // the text is still there to be saved elsewhere; nothing is lost
            EXPECT_EQ(lastQuestion().rfind("Can't save the file.", 0), 0u);
            EXPECT_TRUE(c("btnSave").enabled);
            EXPECT_EQ(u8(w->document().text), "bonono");
        } else {
            EXPECT_EQ(docs.bytes("b.txt"), "bonono");
        }
    }
}

TEST_F(Truth, AFailedReloadSaysTheFileCannotBeOpenedAndKeepsTheText) {
    openNew("gone.txt", "kept");
    fs::remove(docs.path() / "gone.txt");
    w->file().readPicked(false);
    EXPECT_NE(log().find("Err:Can't open the file.\r\n"), std::string::npos) << log();
    EXPECT_EQ(text("lblStatus"), "Can't open the file.");
    EXPECT_EQ(u8(w->document().text), "kept");
}

// Timer1 waits for the source page, but not for ever: a page that never finishes loading is
// reported once and the timer stops; a page that loads in time shows the first match.
TEST_F(Truth, TheWaitForTheSourcePageIsBounded) {
    openNew("a.txt", "abc");
    w->typeText("inRepFrom", u"b");
    w->click("btnFind");
    source().navigate(docs.file("never.htm"));  // loading, and it never completes
    int ticks = 0;
    while (timer.armed && ticks < 100000) {
        w->onTimer1Tick();
        ++ticks;
    }
    EXPECT_FALSE(timer.armed);
    EXPECT_GT(ticks, 100);  // it did wait
    EXPECT_LT(ticks, 100000);
    EXPECT_NE(log().find("Err:The source view did not finish loading."), std::string::npos);
    EXPECT_EQ(text("matchNo"), "0/1");

    w->click("btnFind");  // again, and this time the page loads after a few ticks
    source().navigate(docs.file("late.htm"));
    for (int i = 0; i < 5; ++i) w->onTimer1Tick();
    EXPECT_EQ(timer.interval, 50);  // waits at a slower pace
    settle();
    w->onTimer1Tick();
    EXPECT_FALSE(timer.armed);
}

// A text rendered while the source pane still loads its page is what the page shows once it
// has loaded, not the text it had before.
TEST_F(Truth, TheNewestTextWinsOverAPageStillLoading) {
    openNew("long.txt", std::string(70000, 'q'));
    source().navigate(source().address());  // the page loads again and has not finished
    ASSERT_TRUE(source().busy());
    replace(u"q+", u"short");
    settle();
    EXPECT_EQ(u8(source().bodyText()), "short");
    EXPECT_EQ(u8(w->document().text), "short");
}

}  // namespace
}  // namespace lodestar::testing
