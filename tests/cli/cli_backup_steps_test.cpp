// restore --list and --steps N: the history of steps of a file and of a folder.
#include "cli_backup_fixture.h"

namespace lodestar {
namespace {

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
