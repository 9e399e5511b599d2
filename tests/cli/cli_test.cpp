// lodestar-cli end to end: every command on small folders, its output, status and files left.
#include "cli/cli_fixture.h"

namespace lodestar {
namespace {

TEST_F(Cli, FindCountsTakeFiltersSwitchesAndSingleFiles) {
    putSample();
    const std::string a = "1\t" + at("a.htm") + "\n", b = "0\t" + at("b.txt") + "\n";
    const std::string c = "3\t" + at("c.htm") + "\n";
    const auto found = [](const std::string& pattern, int total, int files) {
        return "Search " + pattern + ", " + std::to_string(total) + " items found in " +
               std::to_string(files) + " files.\n";
    };
    const struct {
        std::vector<std::string> args;
        int status;
        std::string out;  // empty: not looked at
    } cases[] = {
        {{"find", "(\\d+)px", folder()}, 0, a + b + c + found("(\\d+)px", 4, 3)},
        {{"find", "px", folder(), "--filter", "*.txt"}, 1, b + found("px", 0, 1)},
        {{"find", "px", folder() + "/*.htm"}, 0, a + c + found("px", 4, 2)},
        {{"--first", "find", "px", at("c.htm")}, 0, "1" + c.substr(1) + found("px", 1, 1)},
        // Dot matches line breaks unless switched off; ^ and $ at every line with -m.
        {{"find", "2px..3", at("c.htm")}, 0, ""},
        {{"--no-dotall", "find", "2px..3", at("c.htm")}, 1, ""},
        {{"find", "^3px", at("c.htm")}, 1, ""},
        {{"-m", "find", "^3px", at("c.htm")}, 0, ""},
    };
    for (const auto& k : cases) {
        std::vector<std::string> args = k.args;
        args.push_back("--count");
        const Outcome result = run(args);
        SCOPED_TRACE(args[1]);
        EXPECT_EQ(result.status, k.status);
        EXPECT_EQ(k.out.empty() ? "" : result.out, k.out);
        EXPECT_EQ(result.err, "");
    }
}

TEST_F(Cli, ErrorsGoToStandardErrorWithStatusTwo) {
    putSample();
    const std::string rep = ioPut("bad.rep", "/// only a comment\r\nrep ---x--- with ---y---\r\n");
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"find", "(px", folder()}, "Please examine your regular expression or file."},
        {{"find", "px", folder() + "/nowhere"}, "Can't find the path\n" + folder() + "/nowhere"},
        {{"find", "\t\r\n", folder()}, "Please input what you want to find"},
        {{"find", "px", folder(), "--filter", "*.none"}, "no specified files"},
        {{"replace", "(px", "em", at("c.htm")}, "Regular Expression Error"},
        {{"run", ioFile("none.rep"), folder()}, "The command file does not exist."},
        {{"run", rep, folder()}, "Replacing command not found!"},
        {{"find", "x"}, "Usage:"},
        {{"render", at("none.htm")}, ""},
        {{"render", at("a.htm"), "--pattern", "(x"}, ""},
    };
    for (const auto& [args, message] : cases) {
        SCOPED_TRACE(args[0] + " " + args[1]);
        const Outcome result = run(args);
        EXPECT_EQ(result.status, 2);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
    }
    EXPECT_FALSE(fs::exists(dir.path() / "bak"));
}

TEST_F(Cli, SwitchesOverrideTheOptionsFilesAndTheUsersFileComesFirst) {
    putSample();
    const Outcome uncounted = run({"--no-count", "--no-backup", "replace", "px", "", folder()});
    EXPECT_NE(uncounted.out.find("Files replaced successfully."), std::string::npos);
    EXPECT_EQ(dir.bytes("c.htm"), "1 2\r\n3\r\n");
    EXPECT_FALSE(fs::exists(dir.path() / "bak"));
    // Escapes on by default; --no-escapes keeps them as typed.
    run({"--no-backup", "replace", "Cat", "A\\tB", at("a.htm")});
    run({"--no-backup", "--no-escapes", "replace", "B", "C\\tD", at("a.htm")});
    EXPECT_EQ(dir.bytes("a.htm"), "<p style='width:12'>A\tC\\tD</p>\r\n");
    // The program folder's file (no backups) counts only while the user has none of their own;
    // a backup folder name is trimmed alike from either file and from --backup-folder.
    writeOptions("False\r\nbak\r\nTrue\r\n0\r\n1\r\n0\r\n");
    run({"replace", "12", "13", folder()});
    EXPECT_FALSE(fs::exists(dir.path() / "bak"));
    fs::create_directories(io.path() / "config/lodestar");
    io.put("config/lodestar/lodestar.opt", "True\r\n  mine \r\nTrue\r\n0\r\n1\r\n1\r\n");
    run({"replace", "13", "14", folder()});
    EXPECT_TRUE(fs::exists(dir.path() / "mine/a.htm"));
    run({"--backup-folder", " theirs  ", "replace", "14", "15", folder()});
    EXPECT_TRUE(fs::exists(dir.path() / "theirs/a.htm"));
    dropOptions();
    EXPECT_NE(failure({"--backup-folder", "../elsewhere", "replace", "15", "em", folder()})
                  .find("is not allowed"),
              std::string::npos);
    EXPECT_EQ(dir.bytes("a.htm"), "<p style='width:15'>A\tC\\tD</p>\r\n");
}

TEST_F(Cli, ReadOnlyFilesAreSkippedUnlessAskedToWrite) {
    putSample();
    makeReadOnly("c.htm");
    const std::string rep = ioPut("px.rep", "rep ---px--- with ---em---;");
    for (const auto& args : {std::vector<std::string>{"replace", "px", "em", folder()},
                             std::vector<std::string>{"run", rep, folder()}}) {
        const Outcome skipped = run(args);
        EXPECT_EQ(skipped.status, 0) << skipped.err;
        EXPECT_NE(skipped.out.find("-1\tRead only\t" + at("c.htm")), std::string::npos);
        EXPECT_EQ(dir.bytes("c.htm"), "1px 2px\r\n3PX\r\n");
        ASSERT_EQ(run({"restore", folder()}).status, 0);
    }
    EXPECT_EQ(run({"replace", "px", "em", at("c.htm")}).out,
              "-1\tRead only\t" + at("c.htm") + "\n");
    EXPECT_EQ(run({"--readonly=write", "replace", "px", "em", folder()}).status, 0);
    EXPECT_EQ(dir.bytes("c.htm"), "1em 2em\r\n3em\r\n");
}

TEST_F(Cli, RunAppliesACommandFileToEveryFile) {
    putSample();
    const std::string rep = ioPut("px.rep",
                                  "/// spaces before px\r\nregrep ---(\\d+)px--- with ---$1 px---;"
                                  "\r\nrep ---cat--- with ---Dog---;\r\n");
    const Outcome result = run({"run", rep, folder()});
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("\n3 files batch replaced successfully.\n"), std::string::npos);
    EXPECT_EQ(dir.bytes("a.htm"), "<p style='width:12 px'>Dog</p>\r\n");
    EXPECT_FALSE(fs::exists(dir.path() / "bak/b.txt"))
        << "a file the commands leave is not backed up";
    EXPECT_EQ(run({"restore", folder()}).status, 0);
    EXPECT_EQ(dir.bytes("a.htm"), "<p style='width:12px'>Cat</p>\r\n");

    const Outcome single = run({"run", rep, at("c.htm")});
    EXPECT_EQ(single.out, "-\tBatch Replaced.\t" + at("c.htm") + "\nBatch replace completed.\n");
    EXPECT_EQ(dir.bytes("c.bak"), "1px 2px\r\n3PX\r\n");
    // A text the commands leave as it was is not saved, and nothing changed is status 1.
    EXPECT_EQ(run({"run", rep, at("b.txt")}).status, 1);
    EXPECT_FALSE(fs::exists(dir.path() / "b.bak"));
}

TEST_F(Cli, ExtractWritesItsFormatToAFileOrStandardOutput) {
    putSample();
    const std::string txt = ioFile("out.txt");
    const Outcome result = run({"extract", "\\d+px", folder(), "-o", txt});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out,
              "Extract \\d+px, 4 items extracted in 3 files and saved in " + txt + "\n");
    EXPECT_EQ(readBytes(txt), "12px\r\n1px\r\n2px\r\n3PX\r\n");
    const Outcome out = run({"extract", "\\d+px", at("c.htm"), "-o", "-", "--delimiter", ";"});
    EXPECT_EQ(out.out, "1px;2px;3PX\r\n");
    EXPECT_NE(out.err.find("Extract \\d+px, 3 items extracted in 1 files"), std::string::npos);
    EXPECT_EQ(failure({"extract", "px", folder(), "-o", folder() + "/no/such/out.txt"}),
              "The folder does not exist.\n");
    // A full device: the failure is reported, not swallowed.
    const Outcome full = run({"extract", "px", folder(), "-o", "-"}, ">/dev/full");
    EXPECT_EQ(full.status, 2);
    EXPECT_NE(full.err.find("cannot write"), std::string::npos);
}

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
    const Outcome counted = run({"-r", "-j2", "--count", "find", "y", folder()});
    EXPECT_EQ(counted.out, "1\t" + at("a.htm") + "\n0\t" + at("skip/s.htm") + "\n2\t" +
                               at("sub/a.htm") + "\n1\t" + at("sub/deeper/b c.htm") +
                               "\nSearch y, 4 items found in 4 files.\n");
    EXPECT_NE(counted.err.find("it is the backup folder."), std::string::npos);

    EXPECT_EQ(run({"restore", folder()}).status, 0);
    EXPECT_EQ(dir.bytes("sub/a.htm"), "x x");
    EXPECT_EQ(dir.bytes("sub/deeper/b c.htm"), "x");
    EXPECT_FALSE(fs::exists(dir.path() / "bak"));
}

// What people's folders hold and what runs go through: names that are not UTF-8 or hold line
// breaks, extractions that find nothing, and patterns or commands that would run away.
TEST_F(Cli, NamesThatAreNotUtf8AreWorkedOnAndShownEscaped) {
    dir.put("caf\xE9.txt", "12px");
    dir.put("two\nlines.txt", "3px");
    const std::string shown = folder() + "/caf\\xE9.txt";
    const std::string broken = folder() + "/two\\nlines.txt";
    EXPECT_EQ(run({"find", "--count", "px", folder()}).out,
              "1\t" + shown + "\n1\t" + broken + "\nSearch px, 2 items found in 2 files.\n");
    // Lines of find name them escaped as well, so a name never breaks a line in two.
    EXPECT_EQ(run({"find", "px", folder()}).out,
              folder() + "/caf\\xE9.txt:1:3:12px\n" + broken + ":1:2:3px\n");
    EXPECT_EQ(
        run({"replace", "px", "em", folder()}).out,
        "1\tReplaced\t" + shown + "\n1\tReplaced\t" + broken + "\n2 files replaced in 2 files.\n");
    EXPECT_EQ(dir.bytes("caf\xE9.txt"), "12em");
    EXPECT_EQ(run({"restore", folder()}).status, 0);
    EXPECT_EQ(dir.bytes("caf\xE9.txt"), "12px");
}

TEST_F(Cli, ExtractThatFindsNothingSaysSoWritesTheFrameAndExitsOne) {
    putSample();
    const std::string out = ioFile("none.xml");
    const Outcome result = run({"extract", "zebra", folder(), "-o", out, "--format", "xml"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(
        readBytes(out),
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<xml><matches>\r\n</matches></xml>\r\n");
    EXPECT_NE(result.out.find("nothing found"), std::string::npos);
}

TEST_F(Cli, RunawayPatternsAndGrowingCommandsEndWithAnError) {
    std::string runs;
    for (int i = 0; i < 1000; ++i) runs += std::string(19, 'a') + "b";
    dir.put("runs.txt", runs);
    for (const char* shape : {"--count", "--json"}) {
        const std::string err = failure({"find", shape, "(a+)+c|b", folder()});
        EXPECT_NE(err.find("too complex for this text"), std::string::npos) << err;
    }

    std::string doubling;
    for (int i = 0; i < 40; ++i) doubling += "regrep ---[\\s\\S]+--- with ---$&$&---;\r\n";
    const std::string grow = failure({"run", ioPut("grow.rep", doubling), folder()});
    EXPECT_EQ(grow.rfind("Rep File Error.\n", 0), 0u) << grow;
    EXPECT_NE(grow.find("makes the text too large"), std::string::npos) << grow;
    EXPECT_EQ(dir.bytes("runs.txt"), runs);
}

// Every command takes paths relative to the folder it runs in, with backups on.
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
