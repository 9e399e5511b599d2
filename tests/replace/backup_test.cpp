// Sibling backups and saves, the backup folder, and both restores, including a restore whose
// copy fails half-way.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/text.h"
#include "files/folder_listing.h"
#include "files/recording_sink.h"
#include "replace/backup.h"
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

TEST(SaveWithBackup, KeepsThePreviousContentBesideTheFile) {
    TempDir dir;
    const auto page = dir.put("page.htm", "one");
    saveWithBackup(page, u"two", true);
    EXPECT_EQ(dir.bytes("page.htm"), "two");
    EXPECT_EQ(dir.bytes("page.bak"), "one");
    saveWithBackup(page, u"three", true);
    EXPECT_EQ(dir.bytes("page.bak"), "two");
    saveWithBackup(page, u"four", false);
    EXPECT_EQ(dir.bytes("page.bak"), "two");
    EXPECT_EQ(dir.bytes("page.htm"), "four");
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

// The sibling is consumed, so a second restore finds none: it leaves the file and says why.
TEST(RestoreSingleFile, PutsTheSiblingBackOnceThenSaysWhyNot) {
    TempDir dir;
    const auto page = dir.put("page.htm", "new");
    dir.put("page.bak", "old");
    EXPECT_TRUE(restoreSingleFile(page).restored);
    EXPECT_EQ(dir.bytes("page.htm"), "old");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "page.bak"));
    const SingleRestore again = restoreSingleFile(page);
    EXPECT_FALSE(again.restored);
    EXPECT_NE(again.message.find(u"page.bak"), std::u16string::npos);
    EXPECT_EQ(dir.bytes("page.htm"), "old");
}

TEST(BackupFolder, EmptyNameIsBakAndEscapingNamesAreRefused) {
    EXPECT_EQ(backupFolderPath(u"/data/", u""), u"/data/bak/");
    EXPECT_EQ(backupFolderPath(u"/data", u"old copies"), u"/data/old copies/");
    for (const char16_t* name : {u"..", u".", u"../x", u"a/b", u"a\\b", u"/tmp"})
        EXPECT_THROW(backupFolderPath(u"/data/", name), BackupError) << toUtf8(name);
}

TEST(BackupAllFiles, CopiesEveryTickedFileIncludingNamesWithoutDot) {
    TempDir dir;
    std::vector<FileItem> files{{dir.put("a.txt", "A"), true},
                                {dir.put("notes", "N"), true},
                                {dir.put("left.txt", "L"), false}};
    RecordingSink sink;
    EXPECT_TRUE(BackupAllFiles(files, dir.folder(), u"", sink));
    EXPECT_EQ(dir.bytes("bak/a.txt"), "A");
    EXPECT_EQ(dir.bytes("bak/notes"), "N");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "bak" / "left.txt"));
    EXPECT_EQ(sink.lines, std::vector<std::u16string>{u"Files backed up successfully."});
}

TEST(BackupAllFiles, RefusedNameCopiesNothing) {
    TempDir dir;
    std::vector<FileItem> files{{dir.put("a.txt", "A"), true}};
    RecordingSink sink;
    EXPECT_FALSE(BackupAllFiles(files, dir.folder(), u"../out", sink));
    EXPECT_EQ(sink.errors.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(dir.path().parent_path() / "out"));
}

// Files "changed x" beside their backups "old x" in bak/.
void putWithBackups(TempDir& dir, std::initializer_list<std::string> names) {
    std::filesystem::create_directory(dir.path() / "bak");
    for (const std::string& name : names) {
        dir.put(name + ".txt", "changed " + name);
        dir.put("bak/" + name + ".txt", "old " + name);
    }
}

TEST(RestoreFolder, BringsBackEveryFileAndRemovesTheFolder) {
    TempDir dir;
    putWithBackups(dir, {"a", "b"});
    RecordingSink sink;
    EXPECT_TRUE(RestoreFolder(dir.folder(), u"bak", sink));
    EXPECT_EQ(dir.bytes("a.txt"), "old a");
    EXPECT_EQ(dir.bytes("b.txt"), "old b");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "bak"));
    EXPECT_EQ(sink.lines, std::vector<std::u16string>{u"Files restored successfully."});
}

TEST(RestoreFolder, MissingOrEmptyFolderIsReportedAndChangesNothing) {
    TempDir dir;
    RecordingSink sink;
    EXPECT_FALSE(RestoreFolder(dir.folder(), u"bak", sink));
    std::filesystem::create_directory(dir.path() / "bak");
    EXPECT_FALSE(RestoreFolder(dir.folder(), u"bak", sink));
    EXPECT_EQ(sink.errors, (std::vector<std::u16string>{
                               u"Sorry, your backup folder doesn't exist, restoration failed.",
                               u"Backup folder is empty, restoration failed."}));
    EXPECT_TRUE(std::filesystem::exists(dir.path() / "bak"));
}

// The second copy fails: the first file is restored, the second is as it was, and its backup
// is still there to try again. No file is ever missing.
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
    EXPECT_EQ(dir.bytes("c.txt"), "changed c");
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "bak/a.txt"));
    EXPECT_EQ(dir.bytes("bak/b.txt"), "old b");
    EXPECT_EQ(dir.bytes("bak/c.txt"), "old c");
    ASSERT_EQ(sink.errors.size(), 1u);
    EXPECT_EQ(sink.causes[0], u"disk full");
    EXPECT_TRUE(sink.lines.empty());
    // A second restore finishes the job.
    EXPECT_TRUE(RestoreFolder(dir.folder(), u"bak", sink));
    EXPECT_EQ(dir.bytes("b.txt"), "old b");
    EXPECT_EQ(dir.bytes("c.txt"), "old c");
}

TEST(RestoreFolder, FailingDeleteKeepsTheRestoredFileAndTheBackup) {
    TempDir dir;
    putWithBackups(dir, {"a"});
    RestoreSteps steps = systemRestoreSteps();
    steps.remove = [](const std::u16string&) { throw FileError("locked"); };
    RecordingSink sink;
    EXPECT_FALSE(RestoreFolder(dir.folder(), u"bak", sink, steps));
    EXPECT_EQ(dir.bytes("a.txt"), "old a");
    EXPECT_EQ(dir.bytes("bak/a.txt"), "old a");
}

}  // namespace
}  // namespace lodestar
