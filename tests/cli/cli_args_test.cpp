// The command line's grammar: switches anywhere, values, and the usage errors.
#include <gtest/gtest.h>

#include "cli/cli_args.h"

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

TEST(CliArgs, StartsAsTheDesktopProgram) {
    const Arguments args = parseArguments({"find", "x", "dir"});
    EXPECT_TRUE(args.ignoreCase);
    EXPECT_TRUE(args.global);
    EXPECT_TRUE(args.dotAll);
    EXPECT_FALSE(args.multiline);
    EXPECT_FALSE(args.readOnlyWrite);
    EXPECT_EQ(args.filter, "*.*");
    EXPECT_FALSE(args.backup.has_value());
}

TEST(CliArgs, TheUsageTextSaysWhereTheSettingsLive) {
    const std::string usage = usageText();
    EXPECT_NE(usage.find("lodestar.opt in $XDG_CONFIG_HOME/lodestar/"), std::string::npos);
    EXPECT_EQ(usage.find("beside the program"), std::string::npos);
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
                                               {"find", "x", "d", "--bogus"}})
        EXPECT_THROW(parseArguments(bad), UsageError);
}

}  // namespace
}  // namespace lodestar::cli
