// The history of a folder's runs: steps half made or half brought back by a killed run or
// restore, and the steps kept.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "backups/backup.h"
#include "backups/folder_history.h"
#include "core/text.h"
#include "runs/multi_replace.h"
#include "support/recording_sink.h"
#include "support/run_helpers.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

using testing::globalExpression;
using testing::ReadOnlyAnswer;
using testing::RecordingSink;
using testing::TempDir;

class FolderHistory : public ::testing::Test {
  protected:
    TempDir dir;
    ReadOnlyAnswer decline{false};

    bool run(const TextTransform& transform) {
        RecordingSink sink;
        const std::vector<FileItem> files{{dir.file("a.txt"), true}, {dir.file("b.txt"), true}};
        return runFolder(files, transform, testing::inFolder(dir.folder()), sink, &decline).ok;
    }
    bool replace(const char* from, const char* to) {
        return run(ReplaceTransform(globalExpression(fromUtf8(from)), fromUtf8(to)));
    }
    bool restore() {
        RecordingSink sink;
        return RestoreFolder(dir.folder(), u"", sink);
    }
    std::string files() { return dir.bytes("a.txt") + "," + dir.bytes("b.txt"); }
};

// A restore killed after it put its run back and while it brought the step before to the top:
// the next restore, or the next run, brings that step up first, so its originals stay reachable.
TEST_F(FolderHistory, AStepHalfBroughtToTheTopIsFinishedByTheNextRestoreOrRun) {
    for (const bool nextIsARun : {false, true}) {
        std::filesystem::remove_all(dir.path() / "bak");
        dir.put("a.txt", "1");
        dir.put("b.txt", "x");
        ASSERT_TRUE(replace("1", "2"));
        ASSERT_TRUE(replace("2", "3"));
        // The top run put back by hand, as the killed restore had done; then the step's backup
        // moved up, its journal not yet.
        std::filesystem::rename(dir.path() / "bak/a.txt", dir.path() / "a.txt");
        std::ofstream(dir.path() / "bak/.lodestar-journal", std::ios::app)
            << "restoring\nputting back a.txt\nrestored a.txt\nrestore complete\n";
        std::filesystem::rename(dir.path() / "bak/.lodestar-steps/1/a.txt",
                                dir.path() / "bak/a.txt");
        ASSERT_EQ(files(), "2,x");
        if (nextIsARun) {
            ASSERT_TRUE(replace("2", "4"));
            EXPECT_TRUE(restore());
            EXPECT_EQ(files(), "2,x");
        }
        EXPECT_TRUE(restore()) << nextIsARun;
        EXPECT_EQ(files(), "1,x") << nextIsARun;
    }
}

// A run killed while it began a step leaves a step folder holding only a temporary file: it is
// no step, and Restore still reaches every step before it.
TEST_F(FolderHistory, AStepFolderCutShortBeforeItsJournalIsNoStep) {
    dir.put("a.txt", "1");
    dir.put("b.txt", "x");
    ASSERT_TRUE(replace("1", "2"));
    ASSERT_TRUE(replace("2", "3"));
    dir.put("bak/.lodestar-steps/7/.lodestar-0123456789abcdef.tmp", "half a journal");
    EXPECT_EQ(folderSteps(dir.folder() + u"bak/").size(), 2u);
    for (const char* expected : {"2,x", "1,x"}) {
        EXPECT_TRUE(restore());
        EXPECT_EQ(files(), expected);
    }
    ASSERT_TRUE(replace("1", "4"));  // the next run's step takes over the cut-short folder
    ASSERT_TRUE(replace("4", "5"));
    EXPECT_TRUE(restore());
    EXPECT_EQ(files(), "4,x");
}

TEST_F(FolderHistory, KeepsOnlyTheNewestStepsAndRecoversAStepHalfMoved) {
    dir.put("a.txt", "0");
    dir.put("b.txt", "");
    for (int i = 0; i < 12; ++i)
        ASSERT_TRUE(replace(std::to_string(i).c_str(), std::to_string(i + 1).c_str()));
    const std::u16string bak = dir.folder() + u"bak/";
    EXPECT_EQ(folderSteps(bak).size(), kDefaultKeptFolderSteps);

    // Killed after the step before moved into the history, before the new journal.
    archiveNewestStep(bak);
    EXPECT_TRUE(restore());
    EXPECT_EQ(dir.bytes("a.txt"), "11");
}

}  // namespace
}  // namespace lodestar
