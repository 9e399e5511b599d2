// lodestar-cli over a tree: -r walks the subfolders, --exclude leaves paths out, the backups
// mirror the tree and restore puts every file back; without -r nothing changes.
#include "cli_fixture.h"

namespace lodestar {
namespace {

TEST_F(Cli, ReplaceOverATreeMirrorsTheBackupsAndRestoresEveryFile) {
    dir.put("a.htm", "x");
    fs::create_directories(dir.path() / "sub/deeper");
    fs::create_directories(dir.path() / "skip");
    dir.put("sub/a.htm", "x x");
    dir.put("sub/deeper/b c.htm", "x");
    dir.put("skip/s.htm", "x");
    fs::create_symlink("..", dir.path() / "sub/up");

    EXPECT_EQ(run({"find", "x", folder()}).out, folder() + "/a.htm:1:1:x\n");

    const Outcome result = run({"-r", "--exclude", "skip", "replace", "x", "y", folder()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "1\tReplaced\t" + at("a.htm") + "\n2\tReplaced\t" + at("sub/a.htm") +
                              "\n1\tReplaced\t" + at("sub/deeper/b c.htm") +
                              "\n3 files replaced in 3 files.\n");
    EXPECT_EQ(dir.bytes("bak/a.htm"), "x");
    EXPECT_EQ(dir.bytes("bak/sub/a.htm"), "x x");
    EXPECT_EQ(dir.bytes("skip/s.htm"), "x");

    // A second run walks past the backup folder: its copies are never changed.
    EXPECT_EQ(run({"-r", "-l", "find", "x", folder()}).out, folder() + "/skip/s.htm\n");

    EXPECT_EQ(run({"restore", folder()}).status, 0);
    EXPECT_EQ(dir.bytes("sub/a.htm"), "x x");
    EXPECT_EQ(dir.bytes("sub/deeper/b c.htm"), "x");
    EXPECT_FALSE(fs::exists(dir.path() / "bak"));
}

}  // namespace
}  // namespace lodestar
