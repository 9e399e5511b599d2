// The window as desktop users expect it: title, questions, Recent Files, state, geometry.
#include <filesystem>

#include "backups/backup.h"
#include "files/text_file.h"
#include "forms/main/window_fixture.h"
#include "forms/main/window_title.h"

namespace lodestar::testing {
namespace {

namespace fs = std::filesystem;

using DesktopHabits = WindowTest;

TEST_F(DesktopHabits, TheTitleFollowsOpeningChangingSavingAndClosing) {
    openAndChange("notes.txt");
    EXPECT_EQ(text("MainWindow"), "notes.txt* \u2014 Lodestar");
    w->click("btnSave");
    EXPECT_EQ(text("MainWindow"), "notes.txt \u2014 Lodestar");
    w->click("mClose");
    EXPECT_EQ(text("MainWindow"), "Lodestar 1.4");
}

TEST_F(DesktopHabits, UnsavedTextIsSavedDiscardedOrKeptBeforeItCouldBeLost) {
    enum class Answer { Save, Discard, Cancel, SaveFails };
    const char* const triggers[] = {"mExit", "mOpenFile", "mClose", "inputPath"};
    for (const char* trigger : triggers) {
        for (Answer answer : {Answer::Save, Answer::Discard, Answer::Cancel, Answer::SaveFails}) {
            const std::string what = std::string(trigger) + " " + std::to_string(int(answer));
            start();
            const std::u16string other = put("other.txt", "other");
            const std::u16string path = openAndChange("a" + what + ".txt");
            blockBackups(answer == Answer::SaveFails);
            prompts.asked.clear();
            if (answer == Answer::Save || answer == Answer::SaveFails) prompts.answerSave();
            if (answer == Answer::Discard) prompts.answerDiscard();
            if (answer == Answer::Cancel) prompts.answerCancel();
            const bool goesOn = answer == Answer::Save || answer == Answer::Discard;
            if (goesOn && trigger == std::string("mOpenFile")) prompts.choosePath(other);
            if (trigger == std::string("inputPath")) {
                w->typeText("inputPath", other);
                w->enterText("inputPath");
            } else {
                w->click(trigger);
            }
            settle();
            ASSERT_FALSE(prompts.asked.empty()) << what;
            EXPECT_EQ(prompts.asked.front().kind, "saveDiscardCancel") << what;
            const bool wentOn = trigger == std::string("mExit")    ? w->closed()
                                : trigger == std::string("mClose") ? w->document().path.empty()
                                                                   : w->document().path == other;
            EXPECT_EQ(wentOn, goesOn) << what;
            EXPECT_EQ(u8(LoadFileText(path)), answer == Answer::Save ? "bbb" : "aaa") << what;
            if (!goesOn && trigger == std::string("inputPath")) {
                EXPECT_EQ(c("inputPath").text, path) << what;
            }
            if (answer == Answer::SaveFails) {
                EXPECT_NE(log().find("Err:Can't save the file."), std::string::npos) << what;
            }
            blockBackups(false);
        }
    }
    EXPECT_EQ(u8(prompts.asked.front().text),
              "Your file not saved, save it before opening " + u8(docs.file("other.txt")) + "?");
}

TEST_F(DesktopHabits, RecentFilesKeepsTheTenNewestAndDropsAMissingOne) {
    std::vector<std::u16string> paths;
    for (int i = 0; i < 12; ++i) paths.push_back(openNew("f" + std::to_string(i) + ".txt", "x"));
    open(paths[3]);  // opened again: moves to the top, not twice in the list
    ASSERT_EQ(w->recentFiles().entries().size(), 10u);
    EXPECT_EQ(w->recentFiles().entries()[0], paths[3]);
    EXPECT_EQ(w->recentFiles().entries()[1], paths[11]);
    EXPECT_EQ(w->recentFiles().entries()[9], paths[2]);
    EXPECT_EQ(text("mRecent(1)"), "&1  " + u8(paths[3]));
    EXPECT_EQ(text("mRecent(10)"), "1&0  " + u8(paths[2]));
    EXPECT_TRUE(c("mRecent").enabled);

    fs::remove(u8(paths[11]));
    w->click("mRecent(2)");
    EXPECT_EQ(w->document().path, paths[3]);
    EXPECT_EQ(prompts.asked.back().kind, "message");
    EXPECT_EQ(u8(prompts.asked.back().text),
              "The file " + u8(paths[11]) + " no longer exists; it is removed from Recent Files.");
    EXPECT_EQ(w->recentFiles().entries().size(), 9u);
    EXPECT_FALSE(w->controls().has("mRecent(10)"));

    w->click("mRecent(2)");  // now paths[10]
    settle();
    EXPECT_EQ(w->document().path, paths[10]);
    EXPECT_EQ(w->recentFiles().entries()[0], paths[10]);

    RecentFiles fresh;
    fresh.assign({u"", u"/a", u"/b", u"/a"});
    EXPECT_EQ(fresh.entries(), (std::vector<std::u16string>{u"/a", u"/b"}));
}

TEST_F(DesktopHabits, WhatOneRunLeavesTheNextTakesUp) {
    const std::u16string stateFile = program.file("state/window-state");
    start(stateFile);
    const std::u16string path = openNew("r.txt", "abc");
    find(u"a");
    find(u"b\\n=c");
    w->click("chkIgnoreCase");
    w->click("mLine");
    w->layout().splitterDown("splitter3");
    w->layout().splitterMove("splitter3", 1500 - c("splitter3").geometry.top);
    w->layout().splitterUp("splitter3");
    const double share = c("splitter3").geometry.top / c("Frame2").geometry.height;
    w->setWindowFrame({10, 20, 800, 600, false});
    ASSERT_TRUE(w->saveRememberedState());

    start(stateFile);
    EXPECT_EQ(w->usedPatterns().entries(), (std::vector<std::u16string>{u"a", u"b\\n=c"}));
    EXPECT_EQ(text("mRegs(1)"), "b\\n=c");
    EXPECT_FALSE(c("chkIgnoreCase").checked || c("mIgnore").checked ||
                 w->request().switches().ignoreCase);
    EXPECT_TRUE(c("chkLine").checked && c("mLine").checked && w->request().switches().multiline);
    EXPECT_TRUE(c("chkGlobal").checked && c("chkMultiline").checked && w->dotAll());
    EXPECT_EQ(w->recentFiles().entries(), std::vector<std::u16string>{path});
    EXPECT_EQ(w->remembered().frame, (WindowFrame{10, 20, 800, 600, false}));
    w->click("selFile");  // the open dialog starts where the last file came from
    EXPECT_EQ(prompts.asked.back().caption, docs.folder());
    openNew("s.txt", "x");
    EXPECT_NEAR(c("splitter3").geometry.top / c("Frame2").geometry.height, share, 0.01);

    // A file that is not a state file is no reason not to start.
    program.put("state/window-state", std::string("\0\xff garbage\npattern", 18));
    start(stateFile);
    EXPECT_TRUE(w->usedPatterns().entries().empty());
    EXPECT_FALSE(c("mRecent").enabled);
}

TEST_F(DesktopHabits, AResizeKeepsTheUsersSplitterPositionsScaled) {
    w->doMulti();
    w->resize({9600, 6000, 9720, 6600});
    for (const char* splitter : {"splitter", "splitter2", "splitter3"}) {
        const bool vertical = splitter == std::string("splitter");
        w->layout().splitterDown(splitter);
        w->layout().splitterMove(splitter, vertical ? 600 : 400);
        w->layout().splitterUp(splitter);
    }
    const auto shareOf = [&](const char* name, bool vertical) {
        return vertical ? c("Frame1").geometry.width / c("statusbar").geometry.width
                        : c(name).geometry.top / c("Frame2").geometry.height;
    };
    const double left = shareOf("splitter", true);
    const double list = shareOf("splitter2", false);
    const double source = shareOf("splitter3", false);
    w->resize({14400, 9000, 14520, 9600});
    EXPECT_NEAR(shareOf("splitter", true), left, 0.01);
    EXPECT_NEAR(shareOf("splitter2", false), list, 0.01);
    EXPECT_NEAR(shareOf("splitter3", false), source, 0.01);
    EXPECT_GT(c("Frame1").geometry.width, 3500);  // scaled, not kept in twips
}

// The window geometry: the resize handler, the pane stacking and the splitters.
using Layout = WindowTest;

TEST_F(Layout, ALowWindowKeepsItsHeightsButStillPlacesTheStatusBarAndWidths) {
    w->resize({9600, 6000, 9720, 6600});
    const Rect frame = c("Frame1").geometry;
    const Rect source = c("SuperMonitor").geometry;
    w->resize({8000, 490, 8120, 1000});  // 90 + 400 is not below 490
    EXPECT_EQ(c("Frame1").geometry.height, frame.height);
    EXPECT_EQ(c("SuperMonitor").geometry.height, source.height);
    EXPECT_EQ(c("statusbar").geometry.bottom(), 490);
    EXPECT_EQ(c("Frame2").geometry.width, 8000 - 50 - c("Frame2").geometry.left);
    w->resize({9600, 2000, 9720, 2600});  // the pattern box would get a negative height
    EXPECT_GE(c("inRepFrom").geometry.height, 0);
    EXPECT_GE(c("logger").geometry.height, 0);
}

TEST_F(Layout, TheVerticalSplitterStopsAt500AndTheLeftPanelAt2800) {
    w->layout().splitterDown("splitter");
    EXPECT_TRUE(c("splitshad").visible);
    EXPECT_EQ(c("splitshad").geometry.width, 75);
    EXPECT_TRUE(w->layout().splitDragging());
    w->layout().splitterMove("splitter", -5000);
    EXPECT_EQ(c("splitshad").geometry.left, 500);
    w->layout().splitterUp("splitter");
    EXPECT_EQ(c("Frame1").geometry.width, 2800);
    EXPECT_FALSE(c("splitshad").visible);
    EXPECT_FALSE(w->layout().splitDragging());
}

}  // namespace
}  // namespace lodestar::testing
