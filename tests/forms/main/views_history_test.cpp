// The view switches (source view, match list, invisible characters, word wrap), the command
// twins, and the "Used Regexps" menu.
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

TEST_F(Views, HidingTheSourceViewInFolderModeDisablesItsTools) {
    w->doMulti();
    w->OpenMonitor();
    EXPECT_TRUE(c("btnViewIn").enabled);
    w->click("View_FS");
    EXPECT_FALSE(c("SuperMonitor").visible);
    EXPECT_TRUE(c("View_FS").struckThrough);
    EXPECT_FALSE(c("btnViewIn").enabled || c("mWrap").enabled);
    w->click("mFsrc");
    EXPECT_TRUE(c("SuperMonitor").visible);
    EXPECT_TRUE(c("btnViewIn").enabled && c("mWrap").enabled);
}

// The marks replace the invisible characters, keep the marks of a shown result, and switched
// off give back exactly the plain body.
TEST_F(Views, InvisibleCharactersShowAsMarksAndSwitchBackExactly) {
    openNew("a.txt", "a b\t\r\n");
    const std::u16string plain = source().bodyHtml();
    w->click("btnViewIn");
    EXPECT_TRUE(w->file().showInvisible() && c("mViewIn").checked);
    EXPECT_EQ(u8(source().bodyText()), "a\u00B7b______ \u2193\u300F\n");
    w->click("mViewIn");
    EXPECT_FALSE(c("mViewIn").checked);
    EXPECT_EQ(source().bodyHtml(), plain);

    openNew("b.txt", "a a");
    find(u"a");
    w->click("btnViewIn");
    EXPECT_EQ(source().markCount(), 2u);
    EXPECT_EQ(u8(source().bodyText()), "a\u00B7a");
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

TEST_F(Views, WordWrapWithoutACodeElementSaysSoAndChangesNothing) {
    w->controls().setEnabled("btnWrap", true);
    w->click("btnWrap");
    ASSERT_FALSE(prompts.asked.empty());
    EXPECT_EQ(u8(prompts.asked.back().text), "Auto wrap need Internet Explorer 5.5 + installed. ");
    EXPECT_TRUE(c("mWrap").checked && c("btnWrap").checked && w->file().wrapLines());
}

TEST_F(Views, SecondaryWindowsOpenThroughTheWorkspace) {
    int abouts = 0;
    ws->showAbout = [&] { ++abouts; };
    for (const char* name : {"mOptions", "mAbout", "mOpenFolder", "btnRegaid"}) w->click(name);
    EXPECT_TRUE(ws->optionSetting().shown() && ws->assistant().shown() &&
                ws->folder().picker().shown());
    EXPECT_EQ(abouts, 1);
}

using History = WindowTest;

TEST_F(History, AReplaceRecordsItsPatternToo) {
    openNew("a.txt", "a");
    replace(u"a&b", u"", false);
    EXPECT_EQ(text("mRegs(1)"), "a&&b");  // shown as typed in a menu
    w->typeText("inRepFrom", u"");
    w->click("mRegs(1)");
    EXPECT_EQ(text("inRepFrom"), "a&b");
}

TEST_F(History, ClearLeavesNoEntries) {
    openNew("a.txt", "a");
    find(u"a");
    w->click("mClearHis");
    EXPECT_EQ(w->usedPatterns().count(), 0u);
    EXPECT_FALSE(w->controls().has("mRegs(1)"));
}

}  // namespace
}  // namespace lodestar::testing
