// The command line's grammar, the manual pages made from it, and the line diff of --dry-run.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <sstream>

#include "cli/cli_args.h"
#include "cli/man_page.h"
#include "cli/unified_diff.h"

namespace lodestar::cli {
namespace {

TEST(CliArgs, SwitchesMayStandAnywhereAndDoubleDashEndsThem) {
    const Arguments args = parseArguments(
        {"-c", "extract", "--first", "x", "dir", "-o", "-", "--format=html", "-m", "--no-dotall"});
    EXPECT_EQ(args.command, CliCommand::Extract);
    EXPECT_EQ(args.operands, (std::vector<std::string>{"x", "dir"}));
    EXPECT_FALSE(args.ignoreCase);
    EXPECT_FALSE(args.global);
    EXPECT_TRUE(args.multiline);
    EXPECT_FALSE(args.dotAll);
    EXPECT_EQ(args.output, "-");
    EXPECT_EQ(args.format, "html");
    const Arguments dashed = parseArguments({"find", "--", "-x", "dir"});
    EXPECT_EQ(dashed.operands, (std::vector<std::string>{"-x", "dir"}));
}

// The manual page is made from the usage text: every switch of --help is in it.
TEST(CliArgs, TheManualPagesSayWhatTheUsageTextSays) {
    const std::string usage = usageText();
    EXPECT_NE(usage.find("lodestar.opt in\n$XDG_CONFIG_HOME/lodestar/"), std::string::npos);
    const std::string page = cliManPage(usage, "9.9");
    EXPECT_EQ(page.rfind(".TH LODESTAR\\-CLI 1 \"\" \"Lodestar 9.9\"", 0), 0u);
    std::size_t switches = 0;
    for (std::size_t at = 0; (at = usage.find("\n  -", at)) != std::string::npos;
         ++at, ++switches) {
        std::string name = usage.substr(at + 3, usage.find_first_of(" ,=\n", at + 3) - at - 3);
        for (std::size_t dash = 0; (dash = name.find('-', dash)) != std::string::npos; dash += 2)
            name.replace(dash, 1, "\\-");
        EXPECT_NE(page.find(".B " + name), std::string::npos) << name;
    }
    EXPECT_GT(switches, 30u);
    for (const char* section :
         {".SH SYNOPSIS", ".SH DESCRIPTION", ".SH FIND OUTPUT", ".SH EXIT STATUS"})
        EXPECT_NE(page.find(section), std::string::npos) << section;
    EXPECT_NE(windowManPage(usage, "9.9").find(".SH FILES\nThe options"), std::string::npos);
}

TEST(CliArgs, RefusesWhatItCannotRun) {
    for (const std::string line :
         {"", "grep x d", "find x", "replace x d", "extract x d", "find x d --readonly=maybe",
          "find x d --format pdf", "find x d --backup-folder", "find x d --first=1",
          "find x d --bogus", "find x d -A many", "find x d --color sometimes"}) {
        std::istringstream words(line);
        const std::vector<std::string> args{std::istream_iterator<std::string>(words), {}};
        EXPECT_THROW(parseArguments(args), UsageError) << line;
    }
}

// The line diff behind --dry-run: its changes rebuild the new text, are as few as the longest
// common subsequence allows, and its hunks are those diff -u prints.
std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size() - 1) + 1;
        lines.push_back(text.substr(at, end - at));
        at = end;
    }
    return lines;
}

std::size_t fewestChangedLines(const std::vector<std::string>& a,
                               const std::vector<std::string>& b) {
    std::vector<std::vector<std::size_t>> common(a.size() + 1,
                                                 std::vector<std::size_t>(b.size() + 1, 0));
    for (std::size_t i = a.size(); i-- > 0;)
        for (std::size_t j = b.size(); j-- > 0;)
            common[i][j] = a[i] == b[j] ? common[i + 1][j + 1] + 1
                                        : std::max(common[i + 1][j], common[i][j + 1]);
    return a.size() + b.size() - 2 * common[0][0];
}

std::string randomText(std::mt19937& random, std::size_t lines) {
    const std::vector<std::string> pieces{"a\n", "b\n", "c\r\n", "caf\xC3\xA9\n", "\n", "b"};
    std::string text;
    for (std::size_t i = 0; i < lines; ++i) text += pieces[random() % (pieces.size() - 1)];
    if (random() % 3 == 0) text += pieces.back();  // a last line without a line feed
    return text;
}

// Lines with random changes: the changes rebuild the new text from the old, and no shorter
// set of changed lines exists; past the search's bound (long texts changed throughout) they
// still rebuild it.
TEST(UnifiedDiff, ChangesRebuildTheNewTextWithTheFewestChangedLines) {
    std::mt19937 random(5);
    for (int round = 0; round < 400; ++round) {
        const bool large = round >= 390;
        const std::size_t size = large ? 3000 : random() % 30;
        const std::string before = randomText(random, size);
        const std::string after = randomText(random, large ? size : random() % 30);
        const std::vector<std::string> a = linesOf(before);
        const std::vector<std::string> b = linesOf(after);
        const std::vector<LineChange> changes = lineChanges(before, after);
        std::string rebuilt;
        std::size_t at = 0;
        std::size_t changed = 0;
        for (const LineChange& change : changes) {
            ASSERT_GE(change.oldStart, at);
            for (; at < change.oldStart; ++at) rebuilt += a[at];
            for (std::size_t k = 0; k < change.newCount; ++k) rebuilt += b[change.newStart + k];
            at += change.oldCount;
            changed += change.oldCount + change.newCount;
        }
        for (; at < a.size(); ++at) rebuilt += a[at];
        ASSERT_EQ(rebuilt, after) << before;
        if (!large) {
            EXPECT_EQ(changed, fewestChangedLines(a, b)) << before << "\n----\n" << after;
        }
    }
}

}  // namespace
}  // namespace lodestar::cli
