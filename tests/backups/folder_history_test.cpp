// The backup folder and the history of a folder's runs: steps half made by killed runs, restores
// failing half-way, backups over a tree, and working folders that are not absolute refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "backups/backup.h"
#include "backups/backup_paths.h"
#include "backups/folder_history.h"
#include "backups/run_journal.h"
#include "core/text.h"
#include "files/folder_listing.h"
#include "files/folder_tree.h"
#include "runs/multi_replace.h"
#include "support/recording_sink.h"
#include "support/run_helpers.h"
#include "support/sample_tree.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

namespace fs = std::filesystem;
using testing::globalExpression;
using testing::ReadOnlyAnswer;
using testing::RecordingSink;
using testing::SampleTree;
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

// A replace over a whole tree: backup names that mirror it, and restores that never write
// through a link nor leave the folder.
class TreeReplace : public ::testing::Test {
  protected:
    TempDir dir;
    SampleTree tree{dir};
    RecordingSink sink;
    testing::ReadOnlyAnswer yes{true};

    std::vector<FileItem> walked() {
        std::vector<FileItem> files;
        for (const std::u16string& path :
             listTree(dir.folder(), u"*.htm", {true, SampleTree::excludeGlobs(), u""}).files)
            files.push_back({path, true});
        return files;
    }
    RunSummary replaceAll() {
        return runFolder(walked(), ReplaceTransform(testing::globalExpression(u"x"), u"<x>"),
                         testing::inFolder(dir.folder()), sink, &yes);
    }
};

TEST_F(TreeReplace, RestoreNeverWritesThroughALinkNorOutsideTheFolder) {
    ASSERT_TRUE(replaceAll().ok);
    TempDir outside;
    outside.put("d e.htm", "outside");
    // The user replaced a subfolder by a link after the run: nothing is written through it.
    fs::rename(dir.path() / "one/two", dir.path() / "one/moved");
    fs::create_symlink(outside.path(), dir.path() / "one/two");
    EXPECT_FALSE(RestoreFolder(dir.folder(), u"", sink));
    EXPECT_EQ(outside.bytes("d e.htm"), "outside");
    EXPECT_TRUE(fs::exists(dir.path() / "bak/one/two/d e.htm"));  // its backup stays

    // A journal naming a path out of the folder, and a link on the way inside the backups.
    fs::remove(dir.path() / "one/two");
    fs::rename(dir.path() / "one/moved", dir.path() / "one/two");
    dir.put("bak/.lodestar-journal",
            "lodestar run journal 1\nbackup ../escape.htm\nbackup one/two/d e.htm\n"
            "backup sub/x.htm\nbackup a.htm\n");
    dir.put("escape.htm", "");  // a backup that the bad name would reach
    outside.put("x.htm", "read through a link");
    fs::create_symlink(outside.path(), dir.path() / "bak/sub");
    RecordingSink again;
    EXPECT_FALSE(RestoreFolder(dir.folder(), u"", again));
    EXPECT_EQ(dir.bytes("one/two/d e.htm"), "x one/two/d e.htm");
    EXPECT_EQ(dir.bytes("a.htm"), "x a.htm");
    EXPECT_FALSE(fs::exists(dir.path() / "sub"));
    EXPECT_FALSE(fs::exists(dir.path().parent_path() / "escape.htm"));
    // Each file not put back is listed with its reason, and the run says so.
    // (a.htm went back with the first restore; the hand-made journal still names it).
    ASSERT_EQ(again.lines.size(), 3u);
    EXPECT_NE(again.lines[0].find(u"leads out of the folder"), std::u16string::npos);
    EXPECT_NE(again.lines[1].find(u"symbolic link"), std::u16string::npos);
    EXPECT_NE(again.lines[2].find(u"its backup is missing"), std::u16string::npos);
    EXPECT_EQ(again.errors.size(), 1u);
}

TEST(BackupPaths, NamesMirrorTheTreeAndNeverLeaveIt) {
    EXPECT_EQ(backupNameOf(u"/w/", u"/w/sub/dir/page.htm"), u"sub/dir/page.htm");
    EXPECT_EQ(backupNameOf(u"/w", u"/w/page.htm"), u"page.htm");
    EXPECT_EQ(backupNameOf(u"/w/", u"/elsewhere/page.htm"), u"page.htm");
    for (const char16_t* name : {u"", u"/abs", u"a//b", u"../x", u"a/./b", u"a/.."})
        EXPECT_FALSE(isPlainRelativeName(name)) << toUtf8(name);
    EXPECT_TRUE(isPlainRelativeName(u"a/b c/<&>.htm"));
}

TEST(BackupFolder, EmptyNameIsBakAndEscapingNamesAreRefused) {
    EXPECT_EQ(backupFolderPath(u"/data/", u""), u"/data/bak/");
    EXPECT_EQ(backupFolderPath(u"/data", u"old copies"), u"/data/old copies/");
    for (const char16_t* name : {u"..", u".", u"../x", u"a/b", u"a\\b", u"/tmp"})
        EXPECT_THROW(backupFolderPath(u"/data/", name), BackupError) << toUtf8(name);
}

// Files "changed x" beside their backups "old x" in bak/, as a finished run left them.
void putWithBackups(TempDir& dir, std::initializer_list<std::string> names) {
    std::filesystem::create_directory(dir.path() / "bak");
    RunJournal journal = RunJournal::begin(dir.folder() + u"bak/", false);
    for (const std::string& name : names) {
        dir.put(name + ".txt", "changed " + name);
        dir.put("bak/" + name + ".txt", "old " + name);
        journal.recordBackup(fromUtf8(name + ".txt"));
    }
    journal.finish();
}

// The second copy fails: the others are restored, the second is as it was, listed with its
// reason, and its backup is still there to try again. No file is ever missing.
TEST(RestoreFolder, FailingCopyLeavesEveryFileRestoredOrAsItWas) {
    TempDir dir;
    putWithBackups(dir, {"a", "b", "c"});
    RestoreSteps steps = systemRestoreSteps();
    const auto realCopy = steps.copyOver;
    steps.copyOver = [&](const std::u16string& from, const std::u16string& to) {
        if (from.ends_with(u"b.txt")) throw FileError("disk full");
        realCopy(from, to);
    };
    RecordingSink sink;
    EXPECT_FALSE(RestoreFolder(dir.folder(), u"bak", sink, steps));
    EXPECT_EQ(dir.bytes("a.txt"), "old a");
    EXPECT_EQ(dir.bytes("b.txt"), "changed b");
    EXPECT_EQ(dir.bytes("c.txt"), "old c");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "bak/a.txt"));
    EXPECT_EQ(dir.bytes("bak/b.txt"), "old b");
    ASSERT_EQ(sink.errors.size(), 1u);
    EXPECT_EQ(sink.causes[0], u"1 file(s) could not be restored.");
    ASSERT_EQ(sink.lines.size(), 1u);
    EXPECT_EQ(sink.lines[0], u"Not restored " + dir.file("b.txt") + u": disk full.");
    EXPECT_TRUE(lastRunUnfinished(dir.folder(), u"bak"));
    // A second restore finishes the job.
    EXPECT_TRUE(RestoreFolder(dir.folder(), u"bak", sink));
    EXPECT_EQ(dir.bytes("b.txt"), "old b");
    EXPECT_FALSE(lastRunUnfinished(dir.folder(), u"bak"));
}

// Nothing is copied, created or deleted, and the error entry says why.
TEST(BackupWorkingFolder, EmptyOrRelativeFoldersAreRefusedByEveryBackupAndRestore) {
    TempDir dir;
    const std::u16string file = dir.put("a.htm", "x");
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());  // a relative folder would land here
    for (const std::u16string folder : {u"", u"docs/", u"./"}) {
        SCOPED_TRACE(toUtf8(folder));
        EXPECT_THROW(backupFolderPath(folder, u"bak"), BackupError);
        EXPECT_THROW(BackupOneFile(file, folder + u"bak/"), BackupError);

        RecordingSink sink;
        EXPECT_FALSE(RestoreFolder(folder, u"", sink));
        EXPECT_FALSE(runFolder({{file, true}},
                               ReplaceTransform(testing::globalExpression(u"x"), u"y"),
                               testing::inFolder(folder), sink)
                         .ok);
        EXPECT_EQ(sink.errors.size(), 2u);
        EXPECT_EQ(dir.bytes("a.htm"), "x");
    }
    std::filesystem::current_path(cwd);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "bak"));
}

}  // namespace
}  // namespace lodestar
