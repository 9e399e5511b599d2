// lodestar-cli under timeout and prlimit: FIFOs, long counted quantifiers, no memory left.
#include <sys/stat.h>

#include "cli/cli_fixture.h"

namespace lodestar {
namespace {

constexpr int kKilled = 124;  // timeout's status for a program it had to stop

class CliBounded : public Cli {
  protected:
    // As run, under `timeout`: a program still running after twenty seconds is killed.
    Outcome runBounded(const std::vector<std::string>& args) {
        launcher = "timeout 20 ";
        const Outcome result = run(args);
        EXPECT_NE(result.status, kKilled) << "lodestar-cli did not finish: " << args[0];
        return result;
    }
    // The count find gives for one file.
    std::string count(std::vector<std::string> args) {
        args.insert(args.begin(), "--count");
        const std::string out = runBounded(args).out;
        return out.substr(0, out.find('\t'));
    }
    // a.txt and c.txt with a FIFO between them.
    void putFifo() {
        dir.put("a.txt", "a cat\n");
        ASSERT_EQ(::mkfifo((dir.path() / "b.txt").c_str(), 0600), 0);
        dir.put("c.txt", "cat\n");
    }
};

TEST_F(CliBounded, EveryCommandPassesAFifoInTheFolderBy) {
    putFifo();
    const std::string rep = ioPut("a.rep", "rep ---cat--- with ---cow---;\r\n");
    const std::vector<std::vector<std::string>> commands{
        {"find", "cat", folder()},
        {"--count", "find", "cat", folder()},
        {"extract", "cat", folder(), "-o", ioFile("out.txt")},
        {"replace", "cat", "dog", folder()},
        {"restore", folder()},
        {"run", rep, folder()},
        {"restore", folder()},
    };
    for (const auto& command : commands) {
        SCOPED_TRACE(command[0]);
        const Outcome result = runBounded(command);
        EXPECT_EQ(result.status, 0) << result.err;
    }
    EXPECT_EQ(io.bytes("out.txt"), "cat\r\ncat\r\n");
    EXPECT_EQ(dir.bytes("a.txt"), "a cat\n");
}

TEST_F(CliBounded, AFifoAsOptionsOrSettingsFileIsNotReadButNamed) {
    dir.put("a.txt", "a cat\n");
    fs::create_directories(io.path() / "config" / "lodestar");
    for (const std::string name : {"settings", "lodestar.opt"}) {
        SCOPED_TRACE(name);
        const fs::path fifo = io.path() / "config" / "lodestar" / name;
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        const Outcome result = runBounded({"find", "cat", at("a.txt")});
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out, at("a.txt") + ":1:3:a cat\n");
        EXPECT_NE(result.err.find(fifo.string() +
                                  ": not a regular file (a FIFO or a device); it is not read."),
                  std::string::npos)
            << result.err;
        fs::remove(fifo);
    }
}

class CliMemory : public Cli {
  protected:
    void SetUp() override {
        if (std::system("prlimit --version >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "prlimit is not installed";
        launcher = "prlimit --as=1000000000 ";
        dir.put("a.txt", "a cat\n");
        dir.put("b.txt", "");
        fs::resize_file(dir.path() / "b.txt", std::uintmax_t{3} << 30);
    }
};

TEST_F(CliMemory, ACommandThatRunsOutOfMemoryFailsWithStatusTwo) {
    const std::string rep = ioPut("a.rep", "rep ---a--- with ---b---;\r\n");
    const std::vector<std::vector<std::string>> commands{
        {"--binary", "replace", "cat", "dog", at("b.txt")},
        {"--binary", "run", rep, at("b.txt")},
        {"render", at("b.txt")},
        {"--binary", "find", "cat", at("b.txt")},
    };
    for (const auto& command : commands) {
        SCOPED_TRACE(command[1]);
        const Outcome result = run(command);
        EXPECT_EQ(result.status, 2) << result.err;
        EXPECT_NE(result.err.find("Not enough memory"), std::string::npos) << result.err;
    }
}

TEST_F(CliBounded, CountedQuantifiersOfSeveralDigitsFinishInFoldersAndFiles) {
    dir.put("a.txt", "call 0123456789 or 5550001111\n");
    dir.put("b.txt", "sha 0123456789abcdef0123456789abcdef01234567\n");
    fs::create_directory(dir.path() / "sub");
    dir.put("sub/c.txt", "x");
    const Outcome tree = runBounded({"-r", "--count", "find", "\\d{10}", folder()});
    EXPECT_EQ(tree.status, 0);
    EXPECT_EQ(tree.out, "2\t" + at("a.txt") + "\n2\t" + at("b.txt") + "\n0\t" + at("sub/c.txt") +
                            "\nSearch \\d{10}, 4 items found in 3 files.\n");
    EXPECT_EQ(runBounded({"-o", "find", "[0-9a-f]{40}", at("b.txt")}).out,
              at("b.txt") + ":1:5:0123456789abcdef0123456789abcdef01234567\n");
    dir.put("two.txt", "ab");
    EXPECT_EQ(runBounded({"find", ".{80,}", at("two.txt")}).status, 1);
    EXPECT_EQ(runBounded({"find", "a{10,20}", at("two.txt")}).status, 1);
    EXPECT_EQ(runBounded({"-r", "replace", "\\d{10}", "N", folder()}).status, 0);
    EXPECT_EQ(dir.bytes("b.txt"), "sha NabcdefNabcdef01234567\n");
}

// With -m a CR LF pair is one line break: ^ and $ once per line, never between CR and LF.
TEST_F(CliBounded, MultilineAnchorsTakeCrLfAsOneBreak) {
    std::string lines;
    for (int i = 0; i < 10; ++i) lines += "line\r\n";
    dir.put("crlf.txt", lines);
    dir.put("crlf8.txt", "caf\xc3\xa9\r\n" + lines);  // UTF-8: the decoded path
    EXPECT_EQ(count({"-m", "find", "^", at("crlf.txt")}), "11");
    EXPECT_EQ(count({"-m", "find", "$", at("crlf.txt")}), "11");
    EXPECT_EQ(count({"-m", "find", "^", at("crlf8.txt")}), "12");
    EXPECT_EQ(runBounded({"-m", "--no-backup", "replace", "^", "> ", at("crlf.txt")}).status, 0);
    std::string quotedLines;
    for (int i = 0; i < 10; ++i) quotedLines += "> line\r\n";
    EXPECT_EQ(dir.bytes("crlf.txt"), quotedLines + "> ");
}

}  // namespace
}  // namespace lodestar
