// lodestar-cli's backups against what people and programs do to folders, and restore's steps.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "cli/cli_fixture.h"

namespace lodestar {
namespace {

// The file histories go to a state folder of the test's own.
class CliBackups : public Cli {
  protected:
    void SetUp() override { ::setenv("XDG_STATE_HOME", state.path().c_str(), 1); }
    void TearDown() override { ::unsetenv("XDG_STATE_HOME"); }

    // Two htm files with "px" and a text file without.
    void putPages() {
        dir.put("a.htm", "1px");
        dir.put("b.txt", "none");
        dir.put("c.htm", "2px");
    }
    bool exists(const std::string& name) const { return fs::exists(dir.path() / name); }

    TempDir state;
    TempDir outside;
};

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

// restore --list and --steps N: the history of steps of a file and of a folder.
// The kinds of the listed steps, newest first ("replace,batch").
std::string kindsOf(const std::string& listing) {
    std::string kinds;
    std::size_t start = 0;
    for (std::size_t end; (end = listing.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = listing.substr(start, end - start);
        const std::size_t first = line.find('\t');
        const std::size_t second = line.find('\t', first + 1);
        const std::size_t third = line.find('\t', second + 1);
        kinds += (kinds.empty() ? "" : ",") + line.substr(second + 1, third - second - 1);
    }
    return kinds;
}

TEST_F(CliBackups, RestoreListsAndTakesBackStepsOfAFolder) {
    putPages();
    EXPECT_EQ(run({"restore", "--list", folder()}).status, 1);  // nothing to take back
    ASSERT_EQ(run({"replace", "px", "em", folder()}).status, 0);
    ASSERT_EQ(run({"run", ioPut("x.rep", "rep ---none--- with ---NONE---;"), folder()}).status, 0);
    ASSERT_EQ(run({"replace", "em", "pt", folder()}).status, 0);
    const Outcome listed = run({"restore", "--list", folder()});
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(kindsOf(listed.out), "replace,batch,replace") << listed.out;
    EXPECT_NE(listed.out.find("\t2 file(s)\n"), std::string::npos);

    EXPECT_EQ(run({"restore", "--steps", "2", folder()}).status, 0);
    EXPECT_EQ(dir.bytes("a.htm") + dir.bytes("b.txt"), "1emnone");
    EXPECT_EQ(kindsOf(run({"restore", "--list", folder()}).out), "replace");
    EXPECT_EQ(run({"restore", folder()}).status, 0);
    EXPECT_EQ(dir.bytes("a.htm") + dir.bytes("c.htm"), "1px2px");
    EXPECT_FALSE(exists("bak"));
}

// A file's steps, and the sibling backup that never takes a user's file of that name.
TEST_F(CliBackups, RestoreListsAndTakesBackStepsOfAFile) {
    dir.put("page.bak", "the user's own");
    dir.put("page.htm", "apple");
    for (const char* next : {"pear", "plum", "fig"})
        ASSERT_EQ(run({"replace", "[a-z]+", next, at("page.htm")}).status, 0);
    EXPECT_EQ(dir.bytes("page.htm.bak"), "plum");
    EXPECT_EQ(kindsOf(run({"restore", "--list", at("page.htm")}).out), "replace,replace,replace");
    EXPECT_EQ(run({"restore", "--steps", "2", at("page.htm")}).status, 0);
    EXPECT_EQ(dir.bytes("page.htm"), "pear");
    // One step is left: the second of two fails and says why.
    EXPECT_NE(failure({"restore", "--steps", "2", at("page.htm")}).find("No backup"),
              std::string::npos);
    EXPECT_EQ(dir.bytes("page.htm"), "apple");
    EXPECT_EQ(run({"restore", "--list", at("page.htm")}).out, "");
    EXPECT_EQ(dir.bytes("page.bak"), "the user's own");
    EXPECT_FALSE(exists("page.htm.bak"));
    // Two files of one stem never share a backup.
    dir.put("notes.html", "1px");
    dir.put("notes.txt", "2px");
    run({"replace", "px", "em", at("notes.html")});
    run({"replace", "px", "em", at("notes.txt")});
    EXPECT_EQ(dir.bytes("notes.bak") + dir.bytes("notes.txt.bak"), "1px2px");
}

}  // namespace
}  // namespace lodestar
