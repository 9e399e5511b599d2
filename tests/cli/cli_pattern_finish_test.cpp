// lodestar-cli on patterns that once never finished (counted quantifiers of two or more digits)
// and on the switches where the bytes of a file and its decoded text must give one answer:
// each run is bounded by a watchdog, and a run it kills fails the test.
#include "cli/cli_fixture.h"

namespace lodestar {
namespace {

constexpr int kKilled = 124;  // timeout's status for a program it had to stop

class CliPatternFinish : public Cli {
  protected:
    void SetUp() override { launcher = "timeout 10 "; }
    // As run; a program still running after ten seconds is killed and fails the test.
    Outcome runBounded(const std::vector<std::string>& args) {
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
};

TEST_F(CliPatternFinish, CountedQuantifiersOfSeveralDigitsFinishInFoldersAndFiles) {
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

// An ASCII file is counted on its bytes, a UTF-8 one on its decoded text: both ways agree.
TEST_F(CliPatternFinish, AsciiAndUtf8FilesCountAlike) {
    dir.put("ascii.txt", "abcd");
    dir.put("utf8.txt", "abc\xc3\xa9");  // four characters as well
    for (const std::string pattern : {"(?=(|S){0})", "(?=a)a?a", "(|.*b){0}c*"})
        for (const bool matchCase : {false, true}) {
            SCOPED_TRACE(pattern + (matchCase ? " -c" : ""));
            const std::string flag = matchCase ? "-c" : "-n";  // -n: the default
            EXPECT_EQ(count({flag, "find", pattern, at("ascii.txt")}),
                      count({flag, "find", pattern, at("utf8.txt")}));
        }
    EXPECT_EQ(count({"find", "(?=(|S){0})", at("ascii.txt")}), "5");
}

// With -m a CR LF pair is one line break: ^ and $ once per line, never between CR and LF.
TEST_F(CliPatternFinish, MultilineAnchorsTakeCrLfAsOneBreak) {
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
