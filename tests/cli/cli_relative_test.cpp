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
    // Counts name the files by their absolute paths (links resolved); lines as the PATH was typed.
    const std::string site = fs::canonical(dir.path()).string() + "/site/";
    EXPECT_EQ(
        run({"--count", "find", "cat", "site"}).out,
        "1\t" + site + "a.htm\n1\t" + site + "b.txt\nSearch cat, 2 items found in 2 files.\n");
    EXPECT_EQ(run({"find", "cat", "site"}).out, "site/a.htm:1:3:a cat\nsite/b.txt:1:1:cat\n");
    EXPECT_EQ(run({"find", "cat", "./site/*.htm"}).out, "./site/a.htm:1:3:a cat\n");
    EXPECT_EQ(run({"-l", "find", "cat", "site/b.txt"}).out, "site/b.txt\n");

    const Outcome extracted = run({"extract", "c.t", "./site/../site/*.htm", "-o", "out.txt"});
    EXPECT_EQ(extracted.status, 0) << extracted.err;
    EXPECT_EQ(dir.bytes("out.txt"), "cat\r\n");
}

TEST_F(CliRelative, ReplaceRunAndRestoreWorkOnRelativePathsWithBackups) {
    dir.put("cat.rep", "rep ---cat--- with ---dog---;\r\n");
    // (command, path given, folder the program runs in, the backup)
    const struct {
        std::string command;
        std::string path;
        std::string in;
        std::string backup;
    } cases[] = {
        {"replace", "site", "", "site/bak/a.htm"},  {"replace", "site/*.htm", "", "site/bak/a.htm"},
        {"replace", ".", "site", "site/bak/a.htm"}, {"run", "site/", "", "site/bak/a.htm"},
        {"replace", "a.htm", "site", "site/a.bak"}, {"run", "../site/a.htm", "site", "site/a.bak"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command + " " + c.path);
        workingFolder = dir.path() / c.in;
        const std::string rep = c.in.empty() ? "cat.rep" : "../cat.rep";
        const Outcome changed =
            c.command == "run" ? run({"run", rep, c.path}) : run({"replace", "cat", "dog", c.path});
        EXPECT_EQ(changed.status, 0) << changed.err;
        EXPECT_EQ(dir.bytes("site/a.htm"), "a dog\n");
        EXPECT_EQ(dir.bytes(c.backup), "a cat\n");
        const Outcome restored = run({"restore", c.path});
        EXPECT_EQ(restored.status, 0) << restored.err;
        EXPECT_EQ(dir.bytes("site/a.htm"), "a cat\n");
    }
    workingFolder = dir.path() / "site";
    EXPECT_NE(run({"render", "b.txt", "--pattern", "c.t"}).out.find("<em>cat</em>"),
              std::string::npos);
}

}  // namespace
}  // namespace lodestar
