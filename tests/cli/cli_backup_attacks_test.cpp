// lodestar-cli against what people and programs do to their folders and backups: a folder of
// the user's named like the backup folder, two runs at once, links out of the folder, files the
// run leaves alone, and what a restore keeps.
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
