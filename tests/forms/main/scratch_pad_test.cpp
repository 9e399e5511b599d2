// The scratch pad of Instant Test: live marks, the replacement's result, errors, its kept text.
#include <filesystem>

#include "forms/main/window_fixture.h"

namespace lodestar::testing {
namespace {

class ScratchPad : public WindowTest {
  protected:
    std::string scratchFile() const { return (program.path() / "state/lodestar/scratch.txt"); }
    // The debounce timer fires, as the window's timer would after the pause.
    void pause() {
        ASSERT_TRUE(timer.armed);
        w->onTimer1Tick();
    }
    std::size_t marks() const {
        const SharedSpans& spans = w->file().lastMatches();
        return spans ? spans->size() : 0;
    }
};

TEST_F(ScratchPad, MarksAndResultFollowTheTypedPatternAndText) {
    w->click("mClose");
    ASSERT_TRUE(w->file().scratchOpen());
    EXPECT_FALSE(w->file().scratchText().empty()) << "a sample text to start with";
    int told = 0;
    w->file().setScratchListener([&] { ++told; });
    w->file().scratchEdited(u"cat hat cap\ncot");

    // Each key restarts the pause; the marks follow once the typing pauses.
    struct Step {
        const char16_t* pattern;
        std::size_t marks;
        const char* total;
    };
    const std::vector<Step> steps = {
        {u"c", 3, "3"}, {u"ca", 2, "2"}, {u"ca[tp]", 2, "2"}, {u"c.t", 2, "2"}, {u"", 0, ""}};
    for (const Step& s : steps) {
        w->typeText("inRepFrom", s.pattern);
        const int before = told;
        pause();
        EXPECT_EQ(marks(), s.marks) << u8(s.pattern);
        EXPECT_EQ(text("lblTotal"), s.total) << u8(s.pattern);
        EXPECT_EQ(matches().entryCount(), s.marks) << u8(s.pattern);
        EXPECT_GT(told, before) << "the skin is told";
    }
    // The text changes under the pattern; a switch counts too.
    if (c("chkIgnoreCase").checked) w->click("chkIgnoreCase");
    w->typeText("inRepFrom", u"C.T");
    pause();
    EXPECT_EQ(marks(), 0u);
    EXPECT_EQ(listHtml(), " No result found.");
    w->click("chkIgnoreCase");
    pause();
    EXPECT_EQ(marks(), 2u);
    w->file().scratchEdited(u"CAT cut");
    pause();
    EXPECT_EQ(marks(), 2u);
    EXPECT_NE(listHtml().find("<span class=at>1:5</span>"), std::string::npos);

    // A replacement shows what it makes of the text.
    EXPECT_FALSE(w->file().scratchResult());
    w->typeText("inRepWith", u"[$&]");
    pause();
    ASSERT_TRUE(w->file().scratchResult());
    EXPECT_EQ(u8(*w->file().scratchResult()), "[CAT] [cut]");

    // Next and Previous step through the scratch pad's matches.
    w->click("btnNext");
    EXPECT_EQ(text("matchNo"), "1/2");
}

TEST_F(ScratchPad, AnInvalidPatternIsMarkedWhereItGoesWrong) {
    w->click("mClose");
    w->file().scratchEdited(u"a(b)c");
    for (const auto& [pattern, position] : {std::pair<const char16_t*, std::size_t>{u"a(b", 3},
                                            {u"ab)", 2},
                                            {u"x[", 2},
                                            {u"a{2,1}", 1}}) {
        w->typeText("inRepFrom", pattern);
        pause();
        const auto& problem = w->file().patternProblem();
        ASSERT_TRUE(problem) << u8(pattern);
        EXPECT_EQ(problem->position, position) << u8(pattern) << ": " << u8(problem->reason);
        EXPECT_NE(listHtml().find(u8(problem->reason)), std::string::npos) << "the reason shows";
        EXPECT_EQ(marks(), 0u);
    }
    w->typeText("inRepFrom", u"a\\(b\\)");
    w->file().scratchEdited(u"a(b)c");
    pause();
    EXPECT_FALSE(w->file().patternProblem());
}

TEST_F(ScratchPad, TheTextIsKeptInTheStateFolderBetweenRuns) {
    w->click("mClose");
    w->file().scratchEdited(u"my own text \u00E9");
    w->typeText("inRepFrom", u"own");
    pause();
    EXPECT_EQ(readBytes(scratchFile()), "my own text \xC3\xA9");
    EXPECT_FALSE(c("mSave").enabled) << "nothing is saved anywhere else";

    // A failed write is told once; the text stays in the window and is kept once it can be.
    std::filesystem::rename(program.path() / "state", program.path() / "state-away");
    program.put("state", "a file where the folder was");
    w->file().scratchEdited(u"typed while the folder is gone");
    pause();
    w->file().scratchEdited(u"typed while the folder is gone, still");
    pause();
    EXPECT_EQ(u8(w->file().scratchText()), "typed while the folder is gone, still");
    std::size_t told = 0;
    for (std::size_t at = log().find("could not be kept"); at != std::string::npos;
         at = log().find("could not be kept", at + 1))
        ++told;
    EXPECT_EQ(told, 1u);
    std::filesystem::remove(program.path() / "state");
    std::filesystem::rename(program.path() / "state-away", program.path() / "state");
    w->file().scratchEdited(u"typed while the folder is back");
    pause();
    EXPECT_EQ(readBytes(scratchFile()), "typed while the folder is back");

    // Typed just before the window closes: kept without waiting for the pause.
    w->file().scratchEdited(u"typed last");
    w->file().keepScratchText();
    start();
    w->click("mClose");
    EXPECT_EQ(u8(w->file().scratchText()), "typed last");
    // Opening a file leaves the scratch pad; its text stays kept.
    openNew("a.txt", "file text");
    EXPECT_FALSE(w->file().scratchOpen());
    EXPECT_EQ(readBytes(scratchFile()), "typed last");
}

}  // namespace
}  // namespace lodestar::testing
