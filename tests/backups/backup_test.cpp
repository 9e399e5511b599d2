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

}  // namespace
}  // namespace lodestar
