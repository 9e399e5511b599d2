// lodestar-cli against what people and programs do to their folders and backups: a folder of
// the user's named like the backup folder, two runs at once, links at a file's place, restores and
// runs that stop half-way.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "cli_backup_fixture.h"

namespace lodestar {
namespace {

TEST_F(CliBackups, AUsersOwnBackupFolderIsNeverTakenOver) {
    dir.put("fork.c", "int px;");
    fs::create_directory(dir.path() / "bak");
    dir.put("bak/fork.c", "the user's own");
    const Outcome run1 = run({"replace", "px", "em", folder()});
    EXPECT_EQ(run1.status, 0) << run1.err;
    EXPECT_NE(run1.out.find(at("bak-2/")), std::string::npos) << run1.out;
    EXPECT_EQ(dir.bytes("bak/fork.c"), "the user's own");
    EXPECT_EQ(dir.bytes("bak-2/fork.c"), "int px;");
    EXPECT_EQ(run({"restore", folder()}).status, 0);
    EXPECT_EQ(dir.bytes("fork.c"), "int px;");
    EXPECT_EQ(dir.bytes("bak/fork.c"), "the user's own");

    // With -r the user's bak/ is a folder like any other; the real backup folder is named.
    const Outcome tree = run({"replace", "-r", "own", "OWN", folder()});
    EXPECT_EQ(tree.status, 0) << tree.err;
    EXPECT_EQ(dir.bytes("bak/fork.c"), "the user's OWN");
    EXPECT_EQ(dir.bytes("bak-2/bak/fork.c"), "the user's own");
    const Outcome again = run({"find", "-r", "OWN", folder()});
    EXPECT_NE(again.err.find("Passed " + at("bak-2/") + ": it is the backup folder."),
              std::string::npos)
        << again.err;
}

TEST_F(CliBackups, ASecondRunOrRestoreInTheFolderIsRefusedWhileOneWorks) {
    putPages();
    // Another run holds the folder, as the window or a second command line would.
    const int held = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    for (const auto& args :
         {std::vector<std::string>{"replace", "px", "em", folder()},
          std::vector<std::string>{"run", ioPut("x.rep", "rep ---px--- with ---em---;"), folder()},
          std::vector<std::string>{"restore", folder()}}) {
        const std::string err = failure(args);
        EXPECT_NE(err.find("Another run or restore is working in this folder."), std::string::npos)
            << err;
    }
    EXPECT_EQ(dir.bytes("a.htm"), "1px");
    EXPECT_FALSE(exists("bak"));
    ::close(held);
    EXPECT_EQ(run({"replace", "px", "em", folder()}).status, 0);
}

TEST_F(CliBackups, RestoreReplacesALinkAtTheFilesPlaceAndNeverWritesThroughIt) {
    putPages();
    outside.put("victim.txt", "precious");
    fs::permissions(outside.path() / "victim.txt", fs::perms(0600));
    ASSERT_EQ(run({"replace", "px", "em", folder()}).status, 0);
    fs::remove(dir.path() / "a.htm");
    fs::create_symlink(outside.path() / "victim.txt", dir.path() / "a.htm");
    EXPECT_EQ(run({"restore", folder()}).status, 0);
    EXPECT_EQ(outside.bytes("victim.txt"), "precious");
    EXPECT_EQ(fs::status(outside.path() / "victim.txt").permissions(), fs::perms(0600));
    EXPECT_FALSE(isLink("a.htm"));
    EXPECT_EQ(dir.bytes("a.htm"), "1px");
}

// A restore that cannot put every file back says which and why, restores the others, keeps the
// journal and fails; until it is finished no new run starts over its backups.
TEST_F(CliBackups, AnUnfinishedRestoreIsReportedAndHoldsTheFolder) {
    fs::create_directories(dir.path() / "sub");
    dir.put("sub/s.htm", "3px");
    putPages();
    ASSERT_EQ(run({"replace", "-r", "px", "em", folder()}).status, 0);
    fs::remove(dir.path() / "bak/a.htm");  // a backup gone missing
    fs::rename(dir.path() / "sub", dir.path() / "moved");
    fs::create_directory_symlink(outside.path(), dir.path() / "sub");  // a link on the way
    const Outcome restored = run({"restore", folder()});
    EXPECT_EQ(restored.status, 2);
    EXPECT_NE(restored.out.find("Not restored " + at("a.htm") + ": its backup is missing."),
              std::string::npos)
        << restored.out;
    EXPECT_NE(restored.out.find("Not restored " + at("sub/s.htm")), std::string::npos);
    EXPECT_EQ(restored.out.find("Files restored successfully."), std::string::npos);
    EXPECT_EQ(dir.bytes("c.htm"), "2px");  // the others are back
    EXPECT_TRUE(fs::is_empty(outside.path()));
    EXPECT_TRUE(exists("bak/.lodestar-journal"));

    const std::string refused = failure({"replace", "em", "pt", folder()});
    EXPECT_NE(refused.find("did not finish"), std::string::npos) << refused;
    fs::remove(dir.path() / "sub");
    fs::rename(dir.path() / "moved", dir.path() / "sub");
    EXPECT_EQ(run({"restore", folder()}).status, 2);  // a.htm's backup is still missing
    EXPECT_EQ(dir.bytes("sub/s.htm"), "3px");
}

// A run that stops on a failure leaves its journal unfinished: the retry is refused instead of
// backing up files over their originals, and no backup is left a second name of a live file.
TEST_F(CliBackups, ARunStoppedByAFailureIsNotTakenForFinished) {
    putPages();
    ownBackupFolder();
    fs::create_directories(dir.path() / "bak/c.htm/taken");  // c.htm's backup cannot be made
    const std::string err =
        failure({"run", ioPut("x.rep", "rep ---px--- with ---em---;"), folder()});
    EXPECT_EQ(dir.bytes("a.htm") + dir.bytes("c.htm"), "1px2px");
    // No backup is left sharing its file with a live file.
    for (const auto& entry : fs::recursive_directory_iterator(dir.path() / "bak")) {
        if (!entry.is_regular_file()) continue;
        EXPECT_NE(inodeOf(entry.path()), inodeOf(dir.path() / entry.path().filename()))
            << entry.path();
    }
    const std::string refused = failure({"replace", "em", "pt", folder()});
    EXPECT_NE(refused.find("--force"), std::string::npos) << refused;
    fs::remove_all(dir.path() / "bak/c.htm");
    EXPECT_EQ(run({"restore", folder()}).status, 0);
    EXPECT_EQ(run({"replace", "px", "em", folder()}).status, 0);
}

TEST_F(CliBackups, LinksOutOfTheFolderArePassedUnlessFollowed) {
    putPages();
    outside.put("shared.htm", "9px");
    fs::create_symlink(outside.path() / "shared.htm", dir.path() / "s.htm");
    const Outcome passed = run({"replace", "px", "em", folder()});
    EXPECT_EQ(passed.status, 0);
    EXPECT_EQ(outside.bytes("shared.htm"), "9px");
    EXPECT_NE(passed.out.find("not among the chosen files"), std::string::npos) << passed.out;
    EXPECT_EQ(
        run({"run", ioPut("x.rep", "rep ---px--- with ---pt---;"), folder(), "--force"}).status,
        1);  // the replace left no "px" to change
    EXPECT_EQ(outside.bytes("shared.htm"), "9px");
    // A link into an excluded folder reaches a file the user left out: passed by too.
    fs::create_directories(dir.path() / "vendor");
    dir.put("vendor/lib.htm", "7px");
    fs::create_directories(dir.path() / "src");
    fs::create_symlink(dir.path() / "vendor/lib.htm", dir.path() / "src/lib.htm");
    EXPECT_EQ(run({"replace", "-r", "--exclude", "vendor", "px", "em", folder()}).status, 1);
    EXPECT_EQ(dir.bytes("vendor/lib.htm"), "7px");
    EXPECT_EQ(run({"replace", "px", "em", folder(), "--follow-links"}).status, 0);
    EXPECT_EQ(outside.bytes("shared.htm"), "9em");
}

TEST_F(CliBackups, ABatchBacksUpAndCountsOnlyTheFilesItRewrites) {
    putPages();
    makeReadOnly("b.txt");
    const std::string rep = ioPut("x.rep", "rep ---px--- with ---em---;");
    const Outcome first = run({"run", rep, folder()});
    EXPECT_EQ(first.status, 0);
    EXPECT_NE(first.out.find("\n2 files batch replaced successfully."), std::string::npos)
        << first.out;
    EXPECT_FALSE(exists("bak/b.txt"));
    // A second batch that changes nothing keeps the first batch's originals (and exits 1).
    EXPECT_EQ(run({"run", rep, folder()}).status, 1);
    EXPECT_EQ(dir.bytes("bak/a.htm"), "1px");
    EXPECT_EQ(run({"restore", folder()}).status, 0);
    EXPECT_EQ(dir.bytes("a.htm") + dir.bytes("c.htm"), "1px2px");
    EXPECT_EQ(fs::status(dir.path() / "b.txt").permissions() & fs::perms::owner_write,
              fs::perms::none);
}

TEST_F(CliBackups, FilesWhoseTextDoesNotChangeAreNotWritten) {
    putPages();
    const auto then = fs::file_time_type::clock::now() - std::chrono::hours(50);
    for (const char* name : {"a.htm", "b.txt", "c.htm"})
        fs::last_write_time(dir.path() / name, then);
    EXPECT_EQ(run({"replace", "--no-count", "none", "none", folder()}).status, 1);  // no change
    EXPECT_EQ(run({"run", ioPut("x.rep", "rep ---1px--- with ---1px---;"), folder()}).status, 1);
    for (const char* name : {"a.htm", "b.txt", "c.htm"})
        EXPECT_EQ(fs::last_write_time(dir.path() / name), then) << name;
    EXPECT_FALSE(exists("bak"));
}

TEST_F(CliBackups, RestoresKeepTimesAttributesAndTheReadOnlyBit) {
    putPages();
    const auto then = fs::file_time_type::clock::now() - std::chrono::hours(50);
    fs::last_write_time(dir.path() / "a.htm", then);
    const bool attributes = ::setxattr(at("a.htm").c_str(), "user.origin", "mine", 4, 0) == 0;
    ASSERT_EQ(run({"replace", "px", "em", folder()}).status, 0);
    ASSERT_EQ(run({"restore", folder()}).status, 0);
    EXPECT_EQ(fs::last_write_time(dir.path() / "a.htm"), then);
    if (attributes) {
        char value[8] = {};
        EXPECT_EQ(::getxattr(at("a.htm").c_str(), "user.origin", value, sizeof value), 4);
    }

    makeReadOnly("c.htm");
    ASSERT_EQ(run({"replace", "px", "em", at("c.htm"), "--readonly=write"}).status, 0);
    ASSERT_EQ(run({"restore", at("c.htm")}).status, 0);
    EXPECT_EQ(dir.bytes("c.htm"), "2px");
    EXPECT_EQ(fs::status(dir.path() / "c.htm").permissions() & fs::perms::owner_write,
              fs::perms::none);
}

}  // namespace
}  // namespace lodestar
