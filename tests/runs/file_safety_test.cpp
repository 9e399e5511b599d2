// Folder runs and saves against links, second names, files changed meanwhile, runs cut short.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "backups/backup.h"
#include "backups/run_journal.h"
#include "runs/batch_files.h"
#include "runs/multi_replace.h"
#include "support/recording_sink.h"
#include "support/run_helpers.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

namespace fs = std::filesystem;
using testing::globalExpression;
using testing::ReadOnlyAnswer;
using testing::RecordingSink;
using testing::TempDir;

// Thrown by a sink to cut a run short the way a kill would: no handler of the program sees it.
struct Killed {};

class KillingSink : public RecordingSink {
  public:
    explicit KillingSink(std::size_t afterFiles) : afterFiles_(afterFiles) {}
    void fileDone(const FileOutcome& outcome) override {
        RecordingSink::fileDone(outcome);
        if (outcomes.size() == afterFiles_) throw Killed{};
    }

  private:
    std::size_t afterFiles_;
};

// Appends to the file the loop is about to write, as another program might between the read
// and the write.
class MeddlingSink : public RecordingSink {
  public:
    void showStatus(std::u16string_view status) override {
        if (!status.starts_with(u"Replacing ")) return;
        std::string path = toUtf8(status.substr(10));
        path.resize(path.size() - 4);  // " ..."
        std::ofstream(path, std::ios::app) << " appended";
    }
};

class FileSafety : public ::testing::Test {
  protected:
    TempDir dir;      // the chosen folder
    TempDir outside;  // somewhere else the user can write
    RecordingSink sink;
    ReadOnlyAnswer decline{false};

    RunSettings settings(bool goOn = false) { return testing::inFolder(dir.folder(), goOn); }
    std::vector<FileItem> listed(std::initializer_list<const char*> names) {
        std::vector<FileItem> items;
        for (const char* name : names) items.push_back({dir.file(name), true});
        return items;
    }
    RunSummary replace(const std::vector<FileItem>& items, FileSink& to, bool goOn = false,
                       RunSettings how = {}) {
        if (how.currentFolder.empty()) how = settings(goOn);
        return runFolder(items, ReplaceTransform(globalExpression(u"x"), u"xy"), how, to, &decline);
    }
    RunSummary batch(const std::vector<FileItem>& items, FileSink& to, RunSettings how = {}) {
        if (how.currentFolder.empty()) how = settings();
        return runFolder(items, CommandTransform({{u"x", u"xy"}}, RegExp()), how, to);
    }
    bool restore() { return RestoreFolder(dir.folder(), u"", sink); }
    // bak/ as a finished run of the program leaves it.
    void ownBackupFolder() {
        fs::create_directories(dir.path() / "bak");
        RunJournal::begin(dir.folder() + u"bak/", false).finish();
    }
};

TEST_F(FileSafety, BackupsAreNeverWrittenThroughALinkInTheBackupFolder) {
    outside.put("victim.txt", "precious");
    dir.put("a.txt", "x");
    ownBackupFolder();
    fs::create_symlink(outside.path() / "victim.txt", dir.path() / "bak" / "a.txt");

    EXPECT_TRUE(replace(listed({"a.txt"}), sink).ok);
    EXPECT_EQ(outside.bytes("victim.txt"), "precious");
    EXPECT_FALSE(fs::is_symlink(dir.path() / "bak" / "a.txt"));
    EXPECT_EQ(dir.bytes("bak/a.txt"), "x");

    // The sibling backup of a save alike.
    fs::create_symlink(outside.path() / "victim.txt", dir.path() / "a.bak");
    saveWithBackup(dir.file("a.txt"), u"new", true);
    EXPECT_EQ(outside.bytes("victim.txt"), "precious");
    EXPECT_TRUE(fs::is_symlink(dir.path() / "a.bak"));  // not the program's: left alone
    EXPECT_EQ(dir.bytes("a.txt.bak"), "xy");

    // Restore never reads through one either.
    fs::remove(dir.path() / "bak" / "a.txt");
    fs::create_symlink(outside.path() / "victim.txt", dir.path() / "bak" / "a.txt");
    EXPECT_FALSE(restore());
    EXPECT_EQ(dir.bytes("a.txt"), "new");
}

TEST_F(FileSafety, ABackupFolderThatIsALinkIsRefusedBeforeAnythingChanges) {
    fs::create_directory(outside.path() / "ssh");
    fs::create_directory_symlink(outside.path() / "ssh", dir.path() / "bak");
    dir.put("authorized_keys", "x");

    EXPECT_FALSE(replace(listed({"authorized_keys"}), sink).ok);
    EXPECT_FALSE(batch(listed({"authorized_keys"}), sink).ok);
    EXPECT_EQ(dir.bytes("authorized_keys"), "x");
    EXPECT_TRUE(fs::is_empty(outside.path() / "ssh"));
    outside.put("ssh/authorized_keys", "planted");
    EXPECT_FALSE(restore());
    EXPECT_EQ(dir.bytes("authorized_keys"), "x");
    for (const std::u16string& cause : sink.causes)
        EXPECT_NE(cause.find(u"is a symbolic link"), std::u16string::npos) << toUtf8(cause);
}

TEST_F(FileSafety, EachRealFileIsChangedOnceAndRestoredWhole) {
    dir.put("z.txt", "x");
    outside.put("shared.txt", "x");
    fs::create_symlink("z.txt", dir.path() / "a.txt");  // a link in the same folder
    fs::create_symlink(outside.path() / "shared.txt", dir.path() / "o1.txt");
    fs::create_symlink(outside.path() / "shared.txt", dir.path() / "o2.txt");
    const auto items = listed({"a.txt", "o1.txt", "o2.txt", "z.txt"});

    RunSettings follow = settings();
    follow.followLinks = true;
    EXPECT_TRUE(replace(items, sink, false, follow).ok);
    EXPECT_EQ(dir.bytes("z.txt") + outside.bytes("shared.txt"), "xyxy");
    EXPECT_EQ(sink.cells(), u"-|SameFile;1|Written;-|SameFile;1|Written");
    ASSERT_EQ(sink.lines.size(), 4u);
    EXPECT_NE(sink.lines[0].find(u"in the same folder"), std::u16string::npos);
    EXPECT_NE(sink.lines[1].find(u"that file is changed"), std::u16string::npos);
    EXPECT_NE(sink.lines[2].find(u"another name of"), std::u16string::npos);
    // Restore never writes through a link: the followed link gets back the old text as a file.
    EXPECT_TRUE(restore());
    EXPECT_EQ(dir.bytes("z.txt") + dir.bytes("o1.txt"), "xx");
    EXPECT_EQ(outside.bytes("shared.txt"), "xy");
    EXPECT_TRUE(fs::is_symlink(dir.path() / "a.txt"));
    EXPECT_FALSE(fs::is_symlink(dir.path() / "o1.txt"));
}

// A link to a file is passed by as its second name only when the run works on the file by its
// own name: not when that file is not ticked.
TEST_F(FileSafety, AFollowedLinkIsWorkedOnWhenTheFileItLeadsToIsNotTicked) {
    dir.put("a.txt", "x");
    fs::create_directory(dir.path() / "sub");
    fs::create_symlink(dir.path() / "a.txt", dir.path() / "sub/l.txt");
    const std::vector<FileItem> items{{dir.file("a.txt"), false}, {dir.file("sub/l.txt"), true}};
    RunSettings follow = settings();
    follow.followLinks = true;
    EXPECT_TRUE(replace(items, sink, false, follow).ok);
    EXPECT_EQ(dir.bytes("a.txt"), "xy");
    EXPECT_TRUE(batch(items, sink, follow).ok);
    EXPECT_EQ(dir.bytes("a.txt"), "xyy");
}

TEST_F(FileSafety, SingleFileRestoreOfALinkKeepsTheLink) {
    outside.put("real.txt", "old");
    fs::create_symlink(outside.path() / "real.txt", dir.path() / "page.txt");
    saveWithBackup(dir.file("page.txt"), u"new", true);
    EXPECT_EQ(outside.bytes("real.txt"), "new");
    EXPECT_TRUE(restoreSingleFile(dir.file("page.txt")).restored);
    EXPECT_TRUE(fs::is_symlink(dir.path() / "page.txt"));
    EXPECT_EQ(outside.bytes("real.txt"), "old");
    EXPECT_FALSE(fs::exists(dir.path() / "page.bak"));
}

TEST_F(FileSafety, AFileChangedBetweenReadAndWriteKeepsTheOtherProgramsText) {
    dir.put("a.txt", "x");
    dir.put("b.txt", "x");
    MeddlingSink meddler;
    const RunSummary summary = replace(listed({"a.txt", "b.txt"}), meddler);
    EXPECT_FALSE(summary.ok);
    EXPECT_EQ(summary.changedElsewhere, 2u);
    EXPECT_EQ(dir.bytes("a.txt"), "x appended");
    EXPECT_EQ(meddler.cells(), u"1|ChangedElsewhere;1|ChangedElsewhere");
    ASSERT_EQ(meddler.errors.size(), 1u);
    // Nothing of this run is restored over the other program's text.
    EXPECT_TRUE(restore());
    EXPECT_EQ(dir.bytes("a.txt"), "x appended");
}

// A killed run left temporary files beside the files it wrote, in subfolders too: the next run
// (or the one that goes on with it) cleans every folder its journal names.
TEST_F(FileSafety, ARunRemovesTheTemporaryFilesAKilledWriteLeft) {
    fs::create_directories(dir.path() / "sub");
    const std::vector<FileItem> items{{dir.put("sub/a.txt", "x"), true},
                                      {dir.put("sub/b.txt", "x"), true}};
    KillingSink killed(1);
    EXPECT_THROW(replace(items, killed), Killed);
    dir.put("sub/.lodestar-0123456789abcdef.tmp", "half");
    EXPECT_TRUE(replace(items, sink, true).ok);
    EXPECT_FALSE(fs::exists(dir.path() / "sub/.lodestar-0123456789abcdef.tmp"));
    fs::remove_all(dir.path() / "bak");

    dir.put("a.txt", "x");
    dir.put(".lodestar-0123456789abcdef.tmp", "half");
    dir.put(".lodestar-notours.tmp", "someone else's");
    ownBackupFolder();
    dir.put("bak/.lodestar-fedcba9876543210.tmp", "half");
    EXPECT_TRUE(replace(listed({"a.txt"}), sink).ok);
    EXPECT_FALSE(fs::exists(dir.path() / ".lodestar-0123456789abcdef.tmp"));
    EXPECT_TRUE(fs::exists(dir.path() / ".lodestar-notours.tmp"));
    dir.put("bak/.lodestar-fedcba9876543210.tmp", "half");
    EXPECT_TRUE(restore());
    EXPECT_FALSE(fs::exists(dir.path() / "bak"));  // nothing of ours keeps it
}

}  // namespace
}  // namespace lodestar
