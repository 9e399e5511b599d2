// Replace, Action and Restore over a folder, Stop, a file failing half-way, commands meanwhile.
#include <algorithm>
#include <filesystem>

#include "backups/run_journal.h"
#include "files/file_ops.h"
#include "forms/folder/folder_fixture.h"
#include "runs/multi_replace.h"

namespace lodestar::testing {
namespace {

namespace fs = std::filesystem;

class FolderRuns : public FolderTest {
  protected:
    void SetUp() override {
        FolderTest::SetUp();
        backUpIntoBak();
        changeOptions(*w, [](Options& o) { o.noCountOnReplace = false; });
    }
    void openThree() { openFolder({{"a.htm", "x1 x2"}, {"b.htm", "none"}, {"c.htm", "x3"}}); }
    bool backedUp(const std::string& name) { return fs::exists(docs.path() / "bak" / name); }
};

TEST_F(FolderRuns, ReplaceWithCountingRewritesOnlyFilesWithMatchesAndBacksThemUpFirst) {
    openThree();
    tick(3, false);
    replaceAll(u"x", u"y");
    EXPECT_EQ(prompts.asked.back().text, u"Replace every match in 2 ticked files?");
    EXPECT_EQ(matchesOf(1), "2");
    EXPECT_EQ(matchesOf(2), "0");
    EXPECT_EQ(matchesOf(3), "-");
    EXPECT_EQ(docs.bytes("a.htm"), "y1 y2");
    EXPECT_EQ(docs.bytes("c.htm"), "x3");
    EXPECT_EQ(docs.bytes("bak/a.htm"), "x1 x2");
    EXPECT_FALSE(backedUp("b.htm"));
    EXPECT_NE(log().find("* 1 files replaced in 3 files.\r\n"), std::string::npos);
    EXPECT_TRUE(c("btnRestore").enabled && c("mRestore").enabled);
    EXPECT_FALSE(c("btnExp").enabled);
}

TEST_F(FolderRuns, ALinkOutOfTheFolderIsFollowedOnlyWhenThePickerSaysSo) {
    TempDir outside;
    outside.put("target.htm", "x9");
    for (bool follow : {false, true}) {
        fs::remove(docs.path() / "link.htm");
        fs::create_symlink(outside.path() / "target.htm", docs.path() / "link.htm");
        if (follow != dlg().followLinks()) dlg().click("chkFollowLinks");
        openFolder({{"a.htm", "x1"}});
        replaceAll(u"x", u"y");
        EXPECT_EQ(outside.bytes("target.htm"), follow ? "y9" : "x9") << follow;
        put("a.htm", "x1");
    }
}

TEST_F(FolderRuns, TheReadOnlyQuestionComesOncePerRun) {
    openFolder({{"a.htm", "x"}, {"b.htm", "x"}, {"c.htm", "x"}});
    fs::permissions(docs.path() / "a.htm", fs::perms::owner_write, fs::perm_options::remove);
    fs::permissions(docs.path() / "c.htm", fs::perms::owner_write, fs::perm_options::remove);
    prompts.answerOk();      // the replace confirmation
    prompts.answerCancel();  // leave read-only files alone
    const auto questions = [&] {
        return std::count_if(prompts.asked.begin(), prompts.asked.end(),
                             [](const auto& p) { return p.text == kReadOnlyQuestion; });
    };
    replaceAll(u"x", u"y");
    EXPECT_EQ(questions(), 1);
    EXPECT_EQ(matchesOf(1), "-1");
    EXPECT_EQ(docs.bytes("c.htm"), "x");

    replaceAll(u"x", u"y");  // the next run asks again; OK makes them writable
    EXPECT_EQ(questions(), 2);
    EXPECT_EQ(docs.bytes("c.htm"), "y");
    EXPECT_FALSE(isReadOnly(docs.file("c.htm")));
}

TEST_F(FolderRuns, RestorePutsTheBackupsBackAndEmptiesTheCells) {
    openThree();
    clickRow(1);
    replaceAll(u"x", u"y");
    EXPECT_NE(u8(source().bodyText()).find("y1 y2"), std::string::npos);  // reloaded

    prompts.answerCancel();
    w->click("btnRestore");
    EXPECT_EQ(
        u8(prompts.asked.back().text)
            .rfind("Restore " + u8(docs.folder()) + " to its state before the replace of ", 0),
        0u);
    EXPECT_NE(u8(prompts.asked.back().text).find("No earlier step remains."), std::string::npos);
    EXPECT_EQ(docs.bytes("a.htm"), "y1 y2");
    EXPECT_TRUE(c("btnRestore").enabled);

    w->click("btnRestore");
    settle();
    EXPECT_EQ(docs.bytes("a.htm"), "x1 x2");
    EXPECT_FALSE(fs::exists(docs.path() / "bak"));
    EXPECT_NE(log().find("* Files restored successfully.\r\n"), std::string::npos);
    EXPECT_FALSE(c("btnRestore").enabled);
    EXPECT_EQ(matchesOf(1), "");
    EXPECT_EQ(statusOf(1), "");
    EXPECT_NE(u8(source().bodyText()).find("x1 x2"), std::string::npos);
}

TEST_F(FolderRuns, ActionAsksThenBacksUpAndRunsTheCommandsOverTheTickedFilesOnly) {
    openThree();
    tick(3, false);
    const std::u16string rep = put("cmds.rep", "rep ---x--- with ---z---;\r\n");
    prompts.choosePath(rep);
    prompts.answerCancel();
    w->click("btnAction");
    EXPECT_EQ(lastQuestion(), "Run cmds.rep on 2 ticked files?");
    EXPECT_EQ(prompts.asked[prompts.asked.size() - 2].caption, u"");  // no initial folder
    EXPECT_EQ(docs.bytes("a.htm"), "x1 x2") << "Cancel runs nothing";
    prompts.choosePath(rep);
    w->click("btnAction");
    settle();
    EXPECT_EQ(docs.bytes("a.htm"), "z1 z2");
    EXPECT_EQ(docs.bytes("c.htm"), "x3");
    EXPECT_TRUE(backedUp("a.htm"));
    EXPECT_FALSE(backedUp("c.htm")) << "an unticked file is neither run nor backed up";
    EXPECT_NE(log().find("* 2 files batch replaced successfully.\r\n"), std::string::npos);
    EXPECT_TRUE(c("btnRestore").enabled);
}

TEST_F(FolderRuns, CommandsThatWouldConflictAreOffWhileARunGoesOnAndComeBackAfter) {
    openThree();
    std::vector<std::string> during;
    runner.afterReport = [&](int) {
        if (!during.empty()) return;
        for (const char* name : {"btnFind", "mFind", "btnReplace", "btnAction", "btnOpenFolder",
                                 "selFile", "mOpenFile", "inputPath", "btnRestore", "btnStop"})
            during.push_back(std::string(name) + (c(name).enabled ? "+" : "-"));
        clickRow(1);  // ignored during the run
    };
    findAll(u"x");
    EXPECT_EQ(during, (std::vector<std::string>{"btnFind-", "mFind-", "btnReplace-", "btnAction-",
                                                "btnOpenFolder-", "selFile-", "mOpenFile-",
                                                "inputPath-", "btnRestore-", "btnStop+"}));
    EXPECT_EQ(folder().selectedRow(), 0);
    for (const char* name : {"btnFind", "btnReplace", "btnAction", "btnOpenFolder", "inputPath"})
        EXPECT_TRUE(c(name).enabled) << name;
    EXPECT_FALSE(c("btnStop").enabled);
    EXPECT_FALSE(c("btnStop").visible);
    EXPECT_EQ(c("pgBarFore").geometry.width, 0);
}

TEST_F(FolderRuns, StopEndsTheRunBetweenTwoFilesEveryFileDoneOrUntouched) {
    openFolder({{"a.htm", "x"}, {"b.htm", "x"}, {"c.htm", "x"}, {"d.htm", "x"}});
    runner.afterReport = [&](int) {
        if (c("btnStop").enabled && statusOf(2) == " Replaced") w->click("mStop");
    };
    replaceAll(u"x", u"y");
    EXPECT_EQ(docs.bytes("a.htm"), "y");
    EXPECT_EQ(docs.bytes("b.htm"), "y");
    EXPECT_EQ(docs.bytes("c.htm"), "x");
    EXPECT_EQ(docs.bytes("d.htm"), "x");
    EXPECT_EQ(statusOf(3), "");
    EXPECT_FALSE(backedUp("c.htm"));
    EXPECT_NE(log().find("* Stopped: 2 of 4 files done.\r\n"), std::string::npos);
    EXPECT_EQ(log().find("files replaced in"), std::string::npos);
    EXPECT_TRUE(c("btnRestore").enabled);  // the two rewritten files can be put back

    runner.afterReport = [&](int) {
        if (c("btnStop").enabled && matchesOf(1) == "1") w->click("btnStop");
    };
    findAll(u"y");
    EXPECT_EQ(statusOf(1), "");           // searched: the replace's status is cleared
    EXPECT_EQ(statusOf(2), " Replaced");  // not reached
    EXPECT_EQ(text("lblTotal"), "");      // a stopped search shows no total
    EXPECT_FALSE(w->file().searchDone());
    EXPECT_NE(log().find("* Stopped: 1 of 4 files done.\r\n"), std::string::npos);
}

TEST_F(FolderRuns, AFileFailingHalfWayIsNamedInItsRowAndTheLogAndTheOthersAreKept) {
    openThree();
    fs::remove(docs.path() / "b.htm");  // gone since the folder was listed
    findAll(u"x");
    EXPECT_EQ(matchesOf(1), "2");
    EXPECT_EQ(statusOf(2), " Failed");
    EXPECT_EQ(matchesOf(3), "");
    const std::string l = log();
    const auto err =
        l.find("Err:Error in Search.\r\nPlease examine your regular expression or file.\r\n");
    ASSERT_NE(err, std::string::npos);
    EXPECT_NE(l.find("b.htm", err), std::string::npos);  // the reason names the file
    EXPECT_NE(l.find("* 1 of 3 files done.\r\n", err), std::string::npos);
    EXPECT_FALSE(w->file().searchDone());

    replaceAll(u"x", u"y");
    EXPECT_EQ(docs.bytes("a.htm"), "y1 y2");  // kept
    EXPECT_EQ(docs.bytes("c.htm"), "x3");     // untouched
    EXPECT_TRUE(c("btnRestore").enabled);
}

// A run cut short (its journal unfinished) keeps its backups: a new replace does not start;
// the user may restore that run's files first, which puts back exactly what it changed.
TEST_F(FolderRuns, ARunCutShortIsRestoredFirstOrLeftAloneNeverOverwritten) {
    openThree();
    fs::create_directories(docs.path() / "bak");
    docs.put("bak/a.htm", "x1 x2");
    docs.put("a.htm", "half-way");
    {
        RunJournal journal = RunJournal::begin(folder().folder() + u"bak/", false);
        journal.recordBackup(u"a.htm");
    }
    prompts.answerOk();      // replace, are you sure?
    prompts.answerCancel();  // restore first? not now: the run does not start either
    replaceAll(u"x", u"y");
    EXPECT_EQ(docs.bytes("c.htm"), "x3");
    EXPECT_EQ(docs.bytes("bak/a.htm"), "x1 x2");
    EXPECT_NE(log().find("did not finish"), std::string::npos);

    prompts.answerOk();  // replace, are you sure?
    prompts.answerOk();  // restore first
    replaceAll(u"x", u"y");
    EXPECT_EQ(docs.bytes("a.htm"), "x1 x2");
    EXPECT_EQ(docs.bytes("c.htm"), "x3");
}

}  // namespace
}  // namespace lodestar::testing
