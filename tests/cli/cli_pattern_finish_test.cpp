// lodestar-cli on patterns that once never finished (counted quantifiers of two or more digits)
// and on the switches where the bytes of a file and its decoded text must give one answer:
// each run is bounded by a watchdog, and a run it kills fails the test.
#include "cli/cli_fixture.h"

namespace lodestar {
namespace {

constexpr int kKilled = 124;  // timeout's status for a program it had to stop

class CliPatternFinish : public Cli {
  protected:
    // As run, under `timeout`: a program still running after ten seconds is killed.
    Outcome runBounded(const std::vector<std::string>& args) {
        std::string command = "XDG_CONFIG_HOME=" + quoted((io.path() / "config").string()) +
                              " timeout 10 " + quoted((program_->path() / "lodestar-cli").string());
        for (const std::string& arg : args) command += " " + quoted(arg);
        const fs::path out = io.path() / "stdout";
        const fs::path err = io.path() / "stderr";
        command += " 2>" + quoted(err.string()) + " >" + quoted(out.string());
        const int raw = std::system(command.c_str());
        const Outcome result{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readBytes(out),
                             readBytes(err)};
        EXPECT_NE(result.status, kKilled) << "lodestar-cli did not finish: " << command;
        return result;
    }

    void putNumbers() {
        dir.put("a.txt", "call 0123456789 or 5550001111\n");
        dir.put("b.txt", "sha 0123456789abcdef0123456789abcdef01234567\n");
        fs::create_directory(dir.path() / "sub");
        dir.put("sub/c.txt", "x");
    }
};

TEST_F(CliPatternFinish, CountedQuantifiersOfSeveralDigitsFinishInFoldersAndFiles) {
    putNumbers();
    const Outcome tree = runBounded({"-r", "find", "\\d{10}", folder()});
    EXPECT_EQ(tree.status, 0);
    EXPECT_EQ(tree.out, "2\t" + at("a.txt") + "\n2\t" + at("b.txt") + "\n0\t" + at("sub/c.txt") +
                            "\nSearch \\d{10}, 4 items found in 3 files.\n");
    const Outcome file = runBounded({"find", "[0-9a-f]{40}", at("b.txt")});
    EXPECT_EQ(file.status, 0);
    EXPECT_EQ(file.out, "1\t" + at("b.txt") + "\nSearch [0-9a-f]{40}, 1 items found in 1 files.\n");
    dir.put("two.txt", "ab");
    EXPECT_EQ(runBounded({"find", ".{80,}", at("two.txt")}).status, 1);
    EXPECT_EQ(runBounded({"find", "a{10,20}", at("two.txt")}).status, 1);
}

TEST_F(CliPatternFinish, FolderReplaceWithACountedQuantifierFinishes) {
    putNumbers();
    const Outcome result = runBounded({"-r", "replace", "\\d{10}", "N", folder()});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(readBytes(dir.path() / "a.txt"), "call N or N\n");
    EXPECT_EQ(readBytes(dir.path() / "b.txt"), "sha NabcdefNabcdef01234567\n");
}

// An ASCII file is counted on its bytes, a UTF-8 one on its decoded text: both ways agree.
TEST_F(CliPatternFinish, AsciiAndUtf8FilesCountAlike) {
    dir.put("ascii.txt", "abcd");
    dir.put("utf8.txt", "abc\xc3\xa9");  // four characters as well
    for (const std::string pattern : {"(?=(|S){0})", "(?=a)a?a", "(|.*b){0}c*"})
        for (const bool matchCase : {false, true}) {
            SCOPED_TRACE(pattern + (matchCase ? " -c" : ""));
            const auto count = [&](const std::string& file) {
                std::vector<std::string> args;
                if (matchCase) args.push_back("-c");
                args.insert(args.end(), {"find", pattern, at(file)});
                const std::string out = runBounded(args).out;
                return out.substr(0, out.find('\t'));
            };
            EXPECT_EQ(count("ascii.txt"), count("utf8.txt"));
        }
    EXPECT_EQ(runBounded({"find", "(?=(|S){0})", at("ascii.txt")}).out.substr(0, 2), "5\t");
}

// With -m a CR LF pair is one line break: ^ and $ once per line, never between CR and LF.
TEST_F(CliPatternFinish, MultilineAnchorsTakeCrLfAsOneBreak) {
    std::string lines;
    for (int i = 0; i < 10; ++i) lines += "line\r\n";
    dir.put("crlf.txt", lines);
    dir.put("crlf8.txt", "caf\xc3\xa9\r\n" + lines);  // UTF-8: the decoded path
    EXPECT_EQ(runBounded({"-m", "find", "^", at("crlf.txt")}).out.substr(0, 3), "11\t");
    EXPECT_EQ(runBounded({"-m", "find", "$", at("crlf.txt")}).out.substr(0, 3), "11\t");
    EXPECT_EQ(runBounded({"-m", "find", "^", at("crlf8.txt")}).out.substr(0, 3), "12\t");
    EXPECT_EQ(runBounded({"-m", "--no-backup", "replace", "^", "> ", at("crlf.txt")}).status, 0);
    std::string quotedLines;
    for (int i = 0; i < 10; ++i) quotedLines += "> line\r\n";
    EXPECT_EQ(readBytes(dir.path() / "crlf.txt"), quotedLines + "> ");
}

}  // namespace
}  // namespace lodestar
