// The command line's grammar: switches anywhere, values, and the usage errors.
#include <gtest/gtest.h>

#include "cli/cli_args.h"
#include "cli/man_page.h"

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
    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{},
                                               {"grep", "x", "d"},
                                               {"find", "x"},
                                               {"replace", "x", "d"},
                                               {"extract", "x", "d"},
                                               {"find", "x", "d", "--readonly=maybe"},
                                               {"find", "x", "d", "--format", "pdf"},
                                               {"find", "x", "d", "--backup-folder"},
                                               {"find", "x", "d", "--first=1"},
                                               {"find", "x", "d", "--bogus"},
                                               {"find", "x", "d", "-A", "many"},
                                               {"find", "x", "d", "--color", "sometimes"}})
        EXPECT_THROW(parseArguments(bad), UsageError);
}

}  // namespace
}  // namespace lodestar::cli
