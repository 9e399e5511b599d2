// Sibling backups and saves, the backup folder, and both restores, including a restore whose
// copy fails half-way.
#include <gtest/gtest.h>

#include <filesystem>

#include "backups/backup.h"
#include "backups/run_journal.h"
#include "core/text.h"
#include "files/folder_listing.h"
#include "support/recording_sink.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

using testing::RecordingSink;
using testing::TempDir;

TEST(SiblingBackup, ReplacesTheExtensionOfTheFileNameOnly) {
    EXPECT_EQ(siblingBackupPath(u"/docs/page.htm"), u"/docs/page.bak");
    EXPECT_EQ(siblingBackupPath(u"/my.dir/notes"), u"/my.dir/notes.bak");
    EXPECT_EQ(siblingBackupPath(u"notes"), u"notes.bak");
    EXPECT_EQ(siblingBackupPath(u"/home/.profile"), u"/home/.profile.bak");
    EXPECT_EQ(siblingBackupPath(u"/a/archive.tar.gz"), u"/a/archive.tar.bak");
    EXPECT_EQ(siblingBackupPath(u"/a/old.bak"), u"/a/old.bak.bak");
}

TEST(SaveWithBackup, RefusesReadOnlyAndUnencodableTextsWithoutChangingTheFile) {
    TempDir dir;
    const auto page = dir.put("page.htm", "old");
    EXPECT_THROW(saveWithBackup(page, u"\u4e2d", true), Error);
    EXPECT_EQ(dir.bytes("page.htm"), "old");
    std::filesystem::permissions(dir.path() / "page.htm", std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    EXPECT_THROW(saveWithBackup(page, u"new", true), Error);
    EXPECT_EQ(dir.bytes("page.htm"), "old");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "page.bak"));
}

// A page.bak the program did not write is not a backup: Restore neither uses nor removes it.
TEST(RestoreSingleFile, WithoutAKeptStepLeavesTheFileAndSaysWhy) {
    TempDir dir;
    const auto page = dir.put("page.htm", "new");
    dir.put("page.bak", "the user's own");
    const SingleRestore none = restoreSingleFile(page);
    EXPECT_FALSE(none.restored);
    EXPECT_NE(none.message.find(u"No backup"), std::u16string::npos);
    EXPECT_EQ(dir.bytes("page.htm"), "new");
    EXPECT_EQ(dir.bytes("page.bak"), "the user's own");
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

TEST(RestoreFolder, BringsBackEveryFileAndReportsAMissingOrEmptyFolder) {
    TempDir dir;
    RecordingSink sink;
    EXPECT_FALSE(RestoreFolder(dir.folder(), u"bak", sink));
    std::filesystem::create_directory(dir.path() / "bak");
    EXPECT_FALSE(RestoreFolder(dir.folder(), u"bak", sink));
    std::filesystem::remove(dir.path() / "bak");
    putWithBackups(dir, {"a", "b"});
    EXPECT_TRUE(RestoreFolder(dir.folder(), u"bak", sink));
    EXPECT_EQ(dir.bytes("a.txt") + dir.bytes("b.txt"), "old aold b");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "bak"));
    EXPECT_EQ(sink.lines, std::vector<std::u16string>{u"Files restored successfully."});
    putWithBackups(dir, {});
    dir.put("bak/other.txt", "kept");  // keeps the folder and its journal
    RunJournal journal = RunJournal::read(dir.folder() + u"bak/");
    journal.beginRestore();
    journal.completeRestore();
    EXPECT_FALSE(RestoreFolder(dir.folder(), u"bak", sink));
    EXPECT_EQ(sink.errors, (std::vector<std::u16string>{
                               u"Sorry, your backup folder doesn't exist, restoration failed.",
                               u"Backup folder is empty, restoration failed.",
                               u"Backup folder is empty, restoration failed."}));
    EXPECT_EQ(dir.bytes("bak/other.txt"), "kept");
}

// The user's own folder named like the backup folder: never read, emptied nor written.
TEST(RestoreFolder, AFolderWithoutTheJournalIsNotABackupFolder) {
    TempDir dir;
    dir.put("fork.c", "mine");
    std::filesystem::create_directory(dir.path() / "bak");
    dir.put("bak/fork.c", "the user's own");
    RecordingSink sink;
    EXPECT_FALSE(RestoreFolder(dir.folder(), u"bak", sink));
    EXPECT_EQ(dir.bytes("fork.c"), "mine");
    EXPECT_EQ(dir.bytes("bak/fork.c"), "the user's own");
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

// Cut short after the file went back but before the journal said so: the next restore knows.
TEST(RestoreFolder, ARestoreCutShortAfterTheRenameIsFinishedByTheNext) {
    TempDir dir;
    putWithBackups(dir, {"a", "b"});
    RestoreSteps steps = systemRestoreSteps();
    steps.remove = [](const std::u16string&) { throw FileError("killed"); };
    RecordingSink sink;
    EXPECT_FALSE(RestoreFolder(dir.folder(), u"bak", sink, steps));
    EXPECT_EQ(dir.bytes("a.txt"), "old a");
    EXPECT_TRUE(lastRunUnfinished(dir.folder(), u"bak"));
    RecordingSink again;
    EXPECT_TRUE(RestoreFolder(dir.folder(), u"bak", again));
    EXPECT_EQ(dir.bytes("a.txt") + dir.bytes("b.txt"), "old aold b");
    EXPECT_TRUE(again.errors.empty());
}

}  // namespace
}  // namespace lodestar
