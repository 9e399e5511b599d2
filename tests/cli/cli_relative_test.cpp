// Every command takes paths relative to the folder it runs in, with backups on.
#include "cli/cli_fixture.h"

namespace lodestar {
namespace {

class CliRelative : public Cli {
  protected:
    // The test folder holds site/ with two files; the program runs in the test folder.
    void SetUp() override {
        fs::create_directory(dir.path() / "site");
        dir.put("site/a.htm", "a cat\n");
        dir.put("site/b.txt", "cat\n");
        workingFolder = dir.path();
    }
};

TEST_F(CliRelative, FindAndExtractTakeRelativeFoldersAndOutput) {
    const Outcome found = run({"find", "cat", "site"});
    EXPECT_EQ(found.status, 0) << found.err;
    // Named by their absolute paths: the current folder as the system gives it, links resolved.
    const std::string site = fs::canonical(dir.path()).string() + "/site/";
    EXPECT_EQ(found.out, "1\t" + site + "a.htm\n1\t" + site +
                             "b.txt\nSearch cat, 2 items found in 2 files.\n");

    const Outcome extracted = run({"extract", "c.t", "./site/../site/*.htm", "-o", "out.txt"});
    EXPECT_EQ(extracted.status, 0) << extracted.err;
    EXPECT_EQ(dir.bytes("out.txt"), "cat\r\n");
}

TEST_F(CliRelative, ReplaceAndRestoreWorkOnRelativeFoldersWithBackups) {
    // (path given, folder the program runs in, file changed, file left alone)
    const struct {
        std::string path;
        std::string in;
    } cases[] = {{"site", ""}, {"site/*.htm", ""}, {".", "site"}, {"site/", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        workingFolder = dir.path() / c.in;
        const Outcome replaced = run({"replace", "cat", "dog", c.path});
        EXPECT_EQ(replaced.status, 0) << replaced.err;
        EXPECT_EQ(dir.bytes("site/a.htm"), "a dog\n");
        EXPECT_EQ(dir.bytes("site/bak/a.htm"), "a cat\n");
        const Outcome restored = run({"restore", c.path});
        EXPECT_EQ(restored.status, 0) << restored.err;
        EXPECT_EQ(dir.bytes("site/a.htm"), "a cat\n");
        EXPECT_EQ(dir.bytes("site/b.txt"), "cat\n");
    }
}

TEST_F(CliRelative, RunTakesARelativeCommandFileAndFolder) {
    dir.put("cat.rep", "rep ---cat--- with ---cow---;\r\n");
    const Outcome result = run({"run", "cat.rep", "site"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(dir.bytes("site/b.txt"), "cow\n");
    EXPECT_EQ(dir.bytes("site/bak/b.txt"), "cat\n");
    EXPECT_EQ(run({"restore", "site"}).status, 0);
    EXPECT_EQ(dir.bytes("site/b.txt"), "cat\n");
}

TEST_F(CliRelative, ASingleRelativeFileKeepsItsSiblingBackup) {
    workingFolder = dir.path() / "site";
    const Outcome replaced = run({"replace", "cat", "dog", "b.txt"});
    EXPECT_EQ(replaced.status, 0) << replaced.err;
    EXPECT_EQ(dir.bytes("site/b.txt"), "dog\n");
    EXPECT_EQ(dir.bytes("site/b.bak"), "cat\n");
    EXPECT_EQ(run({"restore", "b.txt"}).status, 0);
    EXPECT_EQ(dir.bytes("site/b.txt"), "cat\n");
    dir.put("site/x.rep", "rep ---cat--- with ---cow---;\r\n");
    EXPECT_EQ(run({"run", "x.rep", "../site/b.txt"}).status, 0);
    EXPECT_EQ(dir.bytes("site/b.txt"), "cow\n");
    EXPECT_EQ(run({"render", "b.txt"}).status, 0);
}

}  // namespace
}  // namespace lodestar
