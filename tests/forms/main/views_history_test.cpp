// The view switches, the command twins, the "Used Regexps" menu and the Help menu.
#include "fakes/desktop_fakes.h"
#include "forms/main/window_fixture.h"

namespace lodestar::testing {
namespace {

using Views = WindowTest;

TEST_F(Views, TheListIsBuiltWhenShownAfterASearchThatRanWhileItWasHidden) {
    openNew("a.txt", "x y x");
    w->click("View_ML");
    EXPECT_FALSE(c("MatchView").visible);
    EXPECT_TRUE(c("View_ML").struckThrough);
    EXPECT_FALSE(c("mMlist").checked);
    find(u"x");
    EXPECT_FALSE(w->file().matchListBuilt());
    w->click("mMlist");
    EXPECT_TRUE(c("MatchView").visible && c("mMlist").checked);
    EXPECT_FALSE(c("View_ML").struckThrough);
    EXPECT_TRUE(w->file().matchListBuilt());
    EXPECT_EQ(matches().entryCount(), 2u);
    matches().setEntryBackground(0, u"probe");
    w->click("View_ML");
    w->click("View_ML");  // shown again without a new search: not rebuilt
    EXPECT_EQ(u8(matches().entryBackground(0)), "probe");
}

// Each press flips what the source view does; the menu tick and the toggle button say it, and
// every later rendering (a search, the invisible characters, a restore, another file) keeps
// both the choice and its ticks.
TEST_F(Views, ViewTicksTellWhatTheViewShowsAlsoAfterItIsRenderedAgain) {
    openNew("a.txt", "a long line");
    auto viewIs = [&](bool wraps, bool marks, const char* step) {
        EXPECT_EQ(u8(source().codeWordWrap()), wraps ? "break-word" : "normal") << step;
        EXPECT_EQ(c("mWrap").checked, wraps) << step;
        EXPECT_EQ(c("btnWrap").checked, wraps) << step;
        EXPECT_EQ(c("mViewIn").checked, marks) << step;
        EXPECT_EQ(c("btnViewIn").checked, marks) << step;
        EXPECT_EQ(source().bodyText().find(u"\u00B7") != std::u16string::npos, marks) << step;
    };
    viewIs(true, false, "opened");
    w->click("btnWrap");
    viewIs(false, false, "unwrapped");
    find(u"line");
    viewIs(false, false, "after a search");
    w->click("mViewIn");
    viewIs(false, true, "marks shown");
    w->file().readPicked(false);
    viewIs(false, true, "reloaded");
    w->click("mWrap");
    openNew("b.txt", "another file");
    viewIs(true, true, "another file");
    EXPECT_TRUE(c("mFsrc").checked && c("mMlist").checked);
    w->click("View_ML");
    find(u"file");
    EXPECT_FALSE(c("mMlist").checked || c("MatchView").visible);
}

using History = WindowTest;

// The pop-up offers each pattern once, newest first, and nothing that is not a pattern; a
// replace records its pattern too; Clear leaves no entries.
TEST_F(History, ThePopUpIsNewestFirstUniqueAndClearable) {
    openNew("h.txt", "abc");
    for (const char16_t* p : {u"a", u"b", u"a", u"c", u"b"}) find(p);
    replace(u"a&b", u"", false);
    std::vector<std::string> menu;
    for (const std::string& name : w->controls().names())
        if (c(name).container == "mRegHis") menu.push_back(text(name));
    EXPECT_EQ(menu, (std::vector<std::string>{"Clear History", "a&&b", "b", "c", "a"}));
    EXPECT_FALSE(w->controls().has("mSubMatch") || w->controls().has("mWeb"));
    w->click("mRegs(4)");
    EXPECT_EQ(text("inRepFrom"), "a");
    w->click("mRegs(1)");
    EXPECT_EQ(text("inRepFrom"), "a&b");  // shown as typed in a menu, taken as it was
    w->click("mClearHis");
    EXPECT_EQ(w->usedPatterns().count(), 0u);
    EXPECT_FALSE(w->controls().has("mRegs(1)"));
}

// The Help menu: pages in the help window or the desktop's browser, and failures reported.
class HelpMenuTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        w->help().setViewer(&viewer);
    }
    fakes::FakeHelpViewer viewer;
};

// A web page goes to the browser; without one the user learns the address.
TEST_F(HelpMenuTest, AWebPageThatCannotBeOpenedSaysSoWithItsAddress) {
    for (bool browser : {true, false}) {
        shell.opens = browser;
        prompts.asked.clear();
        w->help().openWebPage(u"https://example.org/");
        EXPECT_EQ(shell.opened.back(), u"https://example.org/");
        ASSERT_EQ(prompts.asked.size(), browser ? 0u : 1u);
        if (!browser) {
            EXPECT_NE(prompts.asked[0].text.find(u"https://example.org/"), std::u16string::npos)
                << u8(prompts.asked[0].text);
        }
    }
    // A help page without a help window is handed to the desktop, and its failure reported.
    w->help().setViewer(nullptr);
    w->click("mContents");
    EXPECT_EQ(shell.opened.back(), program.folder() + u"help/index.htm");
    ASSERT_FALSE(prompts.asked.empty());
    EXPECT_NE(prompts.asked.back().text.find(u"help/index.htm"), std::u16string::npos);
}

}  // namespace
}  // namespace lodestar::testing
