// The randomized folder user in CI: a bounded number of seeded sessions in a folder where
// another program changes files between the steps and during the runs. A longer run is one
// command:
//   LODESTAR_RANDOM_STEPS=20000 build/tests/random_folder_user_tests
// and one seed replays with LODESTAR_RANDOM_SEED=<seed> (LODESTAR_RANDOM_VERBOSE=1 prints the
// session's log). A failing session is shrunk to a short list of steps, printed as code for an
// ordinary test below.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "backups/backup.h"
#include "core/ordered_work.h"
#include "forms/folder/folder_fixture.h"
#include "forms/folder/random_folder_user.h"
#include "support/random_sessions.h"

namespace lodestar::testing {
namespace {

TEST(RandomFolderUserTest, KeepsEveryByteOverSeededSessions) {
    const auto start = std::chrono::steady_clock::now();
    FolderTally tally;
    const SessionsPlayed played =
        playSeededSessions<RandomFolderUser>(1200, 60, [&](RandomFolderUser& user) {
            const FolderTally& t = user.tally();
            tally.steps += t.steps;
            tally.runs += t.runs;
            tally.restores += t.restores;
            tally.busyRefusals += t.busyRefusals;
            tally.changedByOther += t.changedByOther;
            tally.worldUndone += t.worldUndone;
            tally.filesChanged += t.filesChanged;
            tally.cliRestores += t.cliRestores;
        });
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::cout << "random folder user: " << tally.steps << " steps in " << played.sessions
              << " sessions, " << tally.runs << " runs, " << tally.restores << " restores, "
              << tally.filesChanged << " files changed, " << tally.cliRestores
              << " final restores not offered by the window, " << tally.busyRefusals
              << " refused as busy, " << tally.changedByOther
              << " files left as changed by another program, " << tally.worldUndone
              << " later texts of the other program taken back by Restore, " << played.faults
              << " faults, " << seconds << " s\n";
}

// What the random folder user found, made into ordinary scenarios.
namespace fs = std::filesystem;

class FoundInFolders : public FolderTest {
  protected:
    void SetUp() override {
        setWorkerThreads(1);  // files read, then written, in list order
        FolderTest::SetUp();
        backUpIntoBak();
    }
    // After the first file's report another program appends to c.htm.
    void appendDuringTheRun() {
        runner.reports = 0;
        runner.afterReport = [this](int reports) {
            if (reports == 1) std::ofstream(docs.path() / "c.htm", std::ios::app) << "+theirs";
        };
    }
    std::string added(std::size_t from) { return log().substr(from); }
};

TEST_F(FoundInFolders, ARunThatLeftAFileToAnotherProgramDoesNotLogSuccess) {
    for (const bool batch : {false, true}) {
        SCOPED_TRACE(batch ? "batch" : "replace");
        fs::remove_all(docs.path() / "bak");
        openFolder({{"a.htm", "x"}, {"b.htm", "x"}, {"c.htm", "x"}});
        changeOptions(*w, [](Options& o) { o.noCountOnReplace = true; });
        appendDuringTheRun();
        const std::size_t before = log().size();
        if (batch) {
            runCommandFile("rep ---x--- with ---y---;\r\n");
            settle();
        } else {
            replaceAll(u"x", u"y");
        }
        runner.afterReport = nullptr;
        ASSERT_EQ(docs.bytes("c.htm"), "x+theirs");  // left as the other program wrote it
        const std::string said = added(before);
        ASSERT_NE(said.find("Err:Files changed by another program"), std::string::npos) << said;
        EXPECT_EQ(said.find("replaced successfully"), std::string::npos) << said;
        EXPECT_NE(text("lblStatus"), "Done.");
    }
}

// A run killed while it wrote the journal of the step it moved into the history leaves a step
// folder that holds only a temporary file; a later Restore must still reach the older steps.
TEST_F(FoundInFolders, AStepLeftHalfWrittenByAKilledRunKeepsNoOlderStepFromRestore) {
    openFolder({{"a.htm", "x1"}, {"b.htm", "x2"}});
    replaceAll(u"x", u"y");
    replaceAll(u"y", u"z");
    ASSERT_EQ(runSteps(folder().folder(), u"bak").size(), 2u);
    fs::create_directories(docs.path() / "bak/.lodestar-steps/2");
    docs.put("bak/.lodestar-steps/2/.lodestar-0123456789abcdef.tmp", "lodestar run jour");

    std::size_t before = log().size();
    folder().restore();
    settle();
    EXPECT_EQ(docs.bytes("a.htm"), "y1");
    EXPECT_EQ(added(before).find("Err:"), std::string::npos) << added(before);
    before = log().size();
    folder().restore();
    settle();
    EXPECT_EQ(docs.bytes("a.htm"), "x1") << added(before);
    EXPECT_EQ(docs.bytes("b.htm"), "x2");
}

TEST_F(FoundInFolders, RestoreIsOfferedWhileStepsRemain) {
    openFolder({{"a.htm", "x1"}});
    replaceAll(u"x", u"y");
    replaceAll(u"y", u"z");
    w->click("btnRestore");
    settle();
    ASSERT_EQ(docs.bytes("a.htm"), "y1");
    EXPECT_TRUE(c("btnRestore").enabled) << "one step remains";
    openFolder({});
    EXPECT_TRUE(c("btnRestore").enabled) << "the reopened folder still has a step to take back";
}

}  // namespace
}  // namespace lodestar::testing
