// Command files: parsing the grammar and applying the commands, through the engine.
#include <gtest/gtest.h>

#include "files/text_file.h"
#include "replace/command_file.h"
#include "support/expression.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

// The shared expression as the program starts it: ignore case and global on.
RegExp startupExpression() {
    return testing::expression(u"", {.ignoreCase = true});
}

// The commands of `text`, parsed with `expr` (which keeps the last pattern).
std::vector<Command> commandsIn(std::u16string_view text, RegExp& expr, bool escapes = false) {
    std::optional<std::vector<Command>> commands = parseCommandText(text, expr, escapes);
    EXPECT_TRUE(commands.has_value()) << toUtf8(text);
    return commands.value_or(std::vector<Command>{});
}

std::vector<Command> parsed(std::u16string_view text) {
    RegExp expr = startupExpression();
    return parseCommandText(text, expr, false).value_or(std::vector<Command>{});
}

// Parses the command text and applies it to `target` with a start-up expression.
std::u16string run(std::u16string_view commandText, std::u16string_view target,
                   bool escapeSupport = false) {
    RegExp expr = startupExpression();
    return ApplyCommands(commandsIn(commandText, expr, escapeSupport), target, expr);
}

// Each command as "search|replacement|cs|kind", kind 0 Reg, 1 To, 2 Plain.
std::u16string described(const std::vector<Command>& commands) {
    std::u16string text;
    for (const Command& c : commands)
        text += c.search + u"|" + c.replacement + (c.caseSensitive ? u"|cs|" : u"||") +
                char16_t(u'0' + static_cast<int>(c.kind)) + u";";
    return text;
}

TEST(ParseCommands, FieldsKindsAndComments) {
    const struct {
        std::u16string_view text, commands;  // "none": no command found
    } cases[] = {
        // An enclosed text may span lines.
        {u"rep ---a---;\r\n"
         u"replace cs ---b--- to ---t--- with ---B---;\r\n"
         u"regreplace ---c\r\nd--- with ---x\\ty---;\r\n",
         u"a|||2;b|B|cs|1;c\r\nd|x\\ty||0;"},
        {u"/// just a note\r\n", u"none"},
        {u"", u"none"},
        {u"rep ---x---", u"none"},  // no ";"
        {u"/// rep ---x---;\r\n", u"none"},
        // On the last line without a line end "///" is no comment, so the command counts.
        {u"/// rep ---x---;", u"x|||2;"},
        {u"====\r\nrep ---x---;\r\n====\r\nrep ---y---;\r\n=== rep ---z---; ===", u"y|||2;"},
    };
    for (const auto& c : cases) {
        RegExp expr = startupExpression();
        const auto commands = parseCommandText(c.text, expr, false);
        EXPECT_EQ(commands ? described(*commands) : u"none", c.commands) << toUtf8(c.text);
    }
}

TEST(ParseCommands, GlobalOffRemovesFirstCommentOfEachKindAndFindsFirstCommand) {
    const std::u16string_view text =
        u"=== one ===\r\n=== two rep ---x--- ===\r\nrep ---y---;\r\nrep ---z---;";
    RegExp expr = startupExpression();
    expr.setGlobal(false);
    // The second block comment stayed, so its text reaches the command scan.
    EXPECT_EQ(described(commandsIn(text, expr)), u"x--- ===\r\nrep ---y|||2;");
    EXPECT_EQ(parsed(text).size(), 2u);
}

TEST(ParseCommands, IgnoreCaseSwitchDecidesHowWordsAreRecognised) {
    RegExp expr = startupExpression();
    EXPECT_TRUE(parseCommandText(u"REP ---a---;", expr, false));
    expr.setIgnoreCase(false);
    EXPECT_FALSE(parseCommandText(u"REP ---a---;", expr, false));
    // Only the pattern of the shared expression is set by the parse.
    EXPECT_FALSE(expr.ignoreCase());
    EXPECT_TRUE(expr.global());
}

TEST(ApplyCommands, RunsEachCommandInOrderOnTheResult) {
    const struct {
        const char16_t* commands;
        const char16_t* target;
        bool escapeSupport;
        const char16_t* expected;
    } cases[] = {
        {u"regrep ---(\\d+)px--- with ---$1 px---;", u"a: 12px; b: 3px", false,
         u"a: 12 px; b: 3 px"},
        {u"rep ---a--- with ---b---;\r\nignored text\r\nrep ---b--- with ---c---;", u"ab", false,
         u"cc"},
        // Without "with" the matches go; without cs the case is ignored; "to" is no "with".
        {u"rep cs ---Foo---;", u"Foo,foo,FOO", false, u",foo,FOO"},
        {u"rep ---a--- to ---b---;", u"abab", false, u"bb"},
        // Escapes are decoded for "reg" words only, in any letter case, and with the switch.
        {u"rep ---x--- with ---a\\tb---;", u"x", true, u"a\\tb"},
        {u"regrep ---x--- with ---a\\tb---;", u"x", true, u"a\tb"},
        {u"regrep ---x--- with ---a\\tb---;", u"x", false, u"a\\tb"},
        {u"regrep ---x--- with ---a\\\\tb---;", u"x", true, u"a\\tb"},
        {u"REGREP ---x--- with ---a\\tb---;", u"x", true, u"a\tb"},
        // Delimiters set by the directive: one ending in ";", one with letters (which the case
        // switch lets match in other letter cases), and one whose "+" repeats the "-" before it.
        {u"!delimiter=\"##\"\r\nrep ##a## with ##b##;", u"a-a", false, u"b-b"},
        {u"!delimiter=\";\"\r\nrep ;a; with ;b;;", u"a", false, u"b"},
        {u"!delimiter=\"xx\"\r\nrep XXaXX with xxbXX;\r\nrep xx", u"a", false, u"b"},
        {u"!delimiter=\"-+\"\r\nrep -a--- with --b-;", u"a", false, u"b"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(toUtf8(run(c.commands, c.target, c.escapeSupport)), toUtf8(c.expected))
            << toUtf8(c.commands);
    // Once the directive sets another delimiter, the default one no longer delimits.
    EXPECT_TRUE(parsed(u"!delimiter=\"##\"\r\nrep ---a---;").empty());
}

// The commands keep to their own case rule and the global switch, and leave the shared
// expression with the last command's pattern and case rule (an empty list leaves it alone).
TEST(ApplyCommands, TheSharedExpressionGivesGlobalAndKeepsTheLastCommand) {
    RegExp expr =
        testing::expression(u"");  // ignore case off: a command without cs still ignores case
    EXPECT_EQ(ApplyCommands(commandsIn(u"rep ---Foo---;", expr), u"Foo,foo,FOO", expr), u",,");

    expr = startupExpression();
    const std::vector<Command> commands = commandsIn(u"rep ---a--- with ---b---;", expr);
    expr.setGlobal(false);
    EXPECT_EQ(ApplyCommands(commands, u"aaa", expr), u"baa");

    expr = startupExpression();
    ApplyCommands(commandsIn(u"rep ---a---;\r\nrep cs ---b+---;", expr), u"ab", expr);
    EXPECT_EQ(expr.pattern(), u"b+");
    EXPECT_FALSE(expr.ignoreCase());

    expr = startupExpression();
    expr.setPattern(u"keep");
    EXPECT_EQ(ApplyCommands({}, u"text", expr), u"text");
    EXPECT_EQ(expr.pattern(), u"keep");
    EXPECT_TRUE(expr.ignoreCase());
}

TEST(ApplyCommands, BrokenSearchTextThrowsRegExpError) {
    RegExp expr = startupExpression();
    EXPECT_THROW(ApplyCommands(commandsIn(u"regrep ---(ab--- with ---x---;", expr), u"ab", expr),
                 RegExpError);
}

TEST(ApplyCommands, ChainedGrowthStopsAtTheBoundOfTheFilesText) {
    // Each command doubles the text; alone each stays within its own input's bound, chained
    // they would take all memory.
    RegExp expr = startupExpression();
    std::u16string commandText;
    for (int i = 0; i < 40; ++i) commandText += u"rep ---[\\s\\S]+--- with ---$&$&---;\r\n";
    try {
        ApplyCommands(commandsIn(commandText, expr), u"ab", expr);
        FAIL() << "no error";
    } catch (const ReplaceTooLarge& error) {
        EXPECT_NE(std::string(error.what()).find("makes the text too large"), std::string::npos);
    }
}

// A large command file runs the lazy "(.|\n)+?" loops of the grammar over long stretches;
// it must parse, or fail with the engine's error, never crash or hang.
TEST(ParseCommandFile, MegabyteFileParses) {
    std::string text = "=== a long note\r\n" + std::string(400000, 'n') + "\r\n===\r\n";
    for (int i = 0; i < 8000; ++i) text += "rep ---w" + std::to_string(i) + "--- with ---v---;\r\n";
    text += "regrep ---" + std::string(300000, 'x') + "--- with ---long---;\r\n";
    // Unfinished commands after the last complete one: each could send the lazy scan of
    // the search text to the end of the file.
    for (int i = 0; i < 30000; ++i) text += "rep ---x\r\n";
    ASSERT_GT(text.size(), 1000000u);
    testing::TempDir dir;
    RegExp expr = startupExpression();
    std::optional<std::vector<Command>> commands;
    try {
        commands = ParseCommandFile(dir.put("big.rep", text), expr, false);
    } catch (const RegExpError& e) {
        FAIL() << "engine gave up: " << e.what();
    }
    ASSERT_TRUE(commands);
    ASSERT_EQ(commands->size(), 8001u);
    EXPECT_EQ(commands->back().search.size(), 300000u);
    EXPECT_EQ(commands->back().replacement, u"long");
}

}  // namespace
}  // namespace lodestar
