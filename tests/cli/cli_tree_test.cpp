// lodestar-cli over a tree: -r walks the subfolders, --exclude leaves paths out, the backups
// mirror the tree and restore puts every file back; without -r nothing changes.
#include "cli/cli_args.h"
#include "cli_fixture.h"

namespace lodestar {
namespace {

TEST(CliTreeArgs, RecursiveAndRepeatableExcludes) {
    const auto args = cli::parseArguments(
        {"-r", "find", "x", "d", "--exclude", "build/**", "--exclude=*.min.js"});
    EXPECT_TRUE(args.recursive);
    EXPECT_EQ(args.exclude, (std::vector<std::string>{"build/**", "*.min.js"}));
    EXPECT_FALSE(cli::parseArguments({"find", "x", "d"}).recursive);
    EXPECT_TRUE(cli::parseArguments({"--recursive", "find", "x", "d"}).recursive);
}

TEST_F(Cli, ReplaceOverATreeMirrorsTheBackupsAndRestoresEveryFile) {
    dir.put("a.htm", "x");
    fs::create_directories(dir.path() / "sub/deeper");
    fs::create_directories(dir.path() / "skip");
    dir.put("sub/a.htm", "x x");
    dir.put("sub/deeper/b c.htm", "x");
    dir.put("skip/s.htm", "x");
    fs::create_symlink("..", dir.path() / "sub/up");

    const Outcome flat = run({"find", "x", folder()});
    EXPECT_EQ(flat.out, "1\t" + at("a.htm") + "\nSearch x, 1 items found in 1 files.\n");

    const Outcome result = run({"-r", "--exclude", "skip", "replace", "x", "y", folder()});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "1\tReplaced\t" + at("a.htm") + "\n2\tReplaced\t" + at("sub/a.htm") +
                              "\n1\tReplaced\t" + at("sub/deeper/b c.htm") +
                              "\n3 files replaced in 3 files.\n");
    EXPECT_EQ(dir.bytes("bak/a.htm"), "x");
    EXPECT_EQ(dir.bytes("bak/sub/a.htm"), "x x");
    EXPECT_EQ(dir.bytes("skip/s.htm"), "x");

    // A second run walks past the backup folder: its copies are never changed.
    EXPECT_EQ(run({"-r", "find", "x", folder()}).out,
              "0\t" + at("a.htm") + "\n1\t" + at("skip/s.htm") + "\n0\t" + at("sub/a.htm") +
                  "\n0\t" + at("sub/deeper/b c.htm") + "\nSearch x, 1 items found in 4 files.\n");

    EXPECT_EQ(run({"restore", folder()}).status, 0);
    EXPECT_EQ(dir.bytes("sub/a.htm"), "x x");
    EXPECT_EQ(dir.bytes("sub/deeper/b c.htm"), "x");
    EXPECT_FALSE(fs::exists(dir.path() / "bak"));
}

}  // namespace
}  // namespace lodestar
