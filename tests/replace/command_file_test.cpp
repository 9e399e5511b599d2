// Command files: parsing the grammar and applying the commands, through the engine.
#include <gtest/gtest.h>

#include "files/text_file.h"
#include "replace/command_file.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

// The shared expression as the program starts it: ignore case and global on.
RegExp startupExpression() {
    RegExp expr;
    expr.setIgnoreCase(true);
    expr.setGlobal(true);
    return expr;
}

std::vector<Command> parsed(std::u16string_view text, bool escapeSupport = false) {
    RegExp expr = startupExpression();
    std::optional<std::vector<Command>> commands = parseCommandText(text, expr, escapeSupport);
    return commands ? *commands : std::vector<Command>{};
}

// Parses the command text and applies it to `target` with a start-up expression.
std::u16string run(std::u16string_view commandText, std::u16string_view target,
                   bool escapeSupport = false) {
    RegExp expr = startupExpression();
    std::optional<std::vector<Command>> commands =
        parseCommandText(commandText, expr, escapeSupport);
    EXPECT_TRUE(commands.has_value()) << toUtf8(commandText);
    return commands ? ApplyCommands(*commands, target, expr) : std::u16string(target);
}

TEST(ParseCommands, NoCommandGivesNothing) {
    RegExp expr = startupExpression();
    EXPECT_FALSE(parseCommandText(u"/// just a note\r\n", expr, false));
    EXPECT_FALSE(parseCommandText(u"", expr, false));
    EXPECT_FALSE(parseCommandText(u"rep ---x---", expr, false));  // no ";"
    EXPECT_EQ(kCommandNotFoundMessage,
              u"Replacing command not found!\r\nPlease check the replacing command file.");
}

TEST(ParseCommands, FieldsAndKindOfEachCommand) {
    const std::vector<Command> commands = parsed(
        u"rep ---a---;\r\n"
        u"replace cs ---b--- to ---t--- with ---B---;\r\n"
        u"regreplace ---c\r\nd--- with ---x\\ty---;\r\n");
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_EQ(commands[0].search, u"a");
    EXPECT_EQ(commands[0].replacement, u"");
    EXPECT_FALSE(commands[0].caseSensitive);
    EXPECT_EQ(commands[0].kind, CommandKind::Plain);
    EXPECT_EQ(commands[1].search, u"b");
    EXPECT_EQ(commands[1].replacement, u"B");
    EXPECT_TRUE(commands[1].caseSensitive);
    EXPECT_EQ(commands[1].kind, CommandKind::To);
    EXPECT_EQ(commands[2].search, u"c\r\nd");  // an enclosed text may span lines
    EXPECT_EQ(commands[2].replacement, u"x\\ty");
    EXPECT_EQ(commands[2].kind, CommandKind::Reg);
}

TEST(ParseCommands, LineCommentsNeedTextAndALineEnd) {
    EXPECT_TRUE(parsed(u"/// rep ---x---;\r\n").empty());
    // On the last line without a line end "///" is no comment, so the command counts.
    EXPECT_EQ(parsed(u"/// rep ---x---;").size(), 1u);
}

TEST(ParseCommands, BlockCommentsAreRemoved) {
    const std::vector<Command> commands =
        parsed(u"====\r\nrep ---x---;\r\n====\r\nrep ---y---;\r\n=== rep ---z---; ===");
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].search, u"y");
}

TEST(ParseCommands, GlobalOffRemovesFirstCommentOfEachKindAndFindsFirstCommand) {
    const std::u16string_view text =
        u"=== one ===\r\n=== two rep ---x--- ===\r\nrep ---y---;\r\nrep ---z---;";
    RegExp expr = startupExpression();
    expr.setGlobal(false);
    std::optional<std::vector<Command>> commands = parseCommandText(text, expr, false);
    ASSERT_TRUE(commands);
    ASSERT_EQ(commands->size(), 1u);
    // The second block comment stayed, so its text reaches the command scan.
    EXPECT_EQ((*commands)[0].search, u"x--- ===\r\nrep ---y");
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

TEST(ParseCommands, DelimiterDirective) {
    EXPECT_EQ(run(u"!delimiter=\"##\"\r\nrep ##a## with ##b##;", u"a-a"), u"b-b");
    // Once the directive sets another delimiter, the default one no longer delimits.
    EXPECT_TRUE(parsed(u"!delimiter=\"##\"\r\nrep ---a---;").empty());
}

TEST(ParseCommands, DelimitersThatAreNotPlainText) {
    // A delimiter ending in ";" and one with letters, which the case switch lets match in
    // other letter cases.
    EXPECT_EQ(run(u"!delimiter=\";\"\r\nrep ;a; with ;b;;", u"a"), u"b");
    EXPECT_EQ(run(u"!delimiter=\"xx\"\r\nrep XXaXX with xxbXX;\r\nrep xx", u"a"), u"b");
    // Pattern syntax in the delimiter is pattern syntax in the command pattern: "+" repeats
    // the "-" before it, so runs of dashes of any length delimit.
    EXPECT_EQ(run(u"!delimiter=\"-+\"\r\nrep -a--- with --b-;", u"a"), u"b");
}

TEST(ApplyCommands, RegrepWithGroupReference) {
    EXPECT_EQ(run(u"regrep ---(\\d+)px--- with ---$1 px---;", u"a: 12px; b: 3px"),
              u"a: 12 px; b: 3 px");
}

TEST(ApplyCommands, WithoutWithClauseDeletesAndCsDecidesCase) {
    RegExp expr;  // the user's switch has no say: a command without cs ignores case
    expr.setGlobal(true);
    std::optional<std::vector<Command>> plain = parseCommandText(u"rep ---Foo---;", expr, false);
    ASSERT_TRUE(plain);
    EXPECT_EQ(ApplyCommands(*plain, u"Foo,foo,FOO", expr), u",,");
    EXPECT_EQ(run(u"rep cs ---Foo---;", u"Foo,foo,FOO"), u",foo,FOO");
    EXPECT_EQ(run(u"rep ---a--- to ---b---;", u"abab"), u"bb");
}

TEST(ApplyCommands, EscapesDecodedOnlyForRegWords) {
    EXPECT_EQ(run(u"rep ---x--- with ---a\\tb---;", u"x", true), u"a\\tb");
    EXPECT_EQ(run(u"regrep ---x--- with ---a\\tb---;", u"x", true), u"a\tb");
    EXPECT_EQ(run(u"regrep ---x--- with ---a\\tb---;", u"x", false), u"a\\tb");
    EXPECT_EQ(run(u"regrep ---x--- with ---a\\\\tb---;", u"x", true), u"a\\tb");
    // A command word in capitals still counts as a "reg" word.
    EXPECT_EQ(run(u"REGREP ---x--- with ---a\\tb---;", u"x", true), u"a\tb");
}

TEST(ApplyCommands, CommandsRunInOrderOnEachOthersResult) {
    EXPECT_EQ(run(u"rep ---a--- with ---b---;\r\nignored text\r\nrep ---b--- with ---c---;", u"ab"),
              u"cc");
}

TEST(ApplyCommands, GlobalOffReplacesFirstMatchOnly) {
    RegExp expr = startupExpression();
    std::optional<std::vector<Command>> commands =
        parseCommandText(u"rep ---a--- with ---b---;", expr, false);
    ASSERT_TRUE(commands);
    expr.setGlobal(false);
    EXPECT_EQ(ApplyCommands(*commands, u"aaa", expr), u"baa");
}

TEST(ApplyCommands, LeavesLastPatternAndIgnoreCase) {
    RegExp expr = startupExpression();
    std::optional<std::vector<Command>> commands =
        parseCommandText(u"rep ---a---;\r\nrep cs ---b+---;", expr, false);
    ASSERT_TRUE(commands);
    ApplyCommands(*commands, u"ab", expr);
    EXPECT_EQ(expr.pattern(), u"b+");
    EXPECT_FALSE(expr.ignoreCase());
}

TEST(ApplyCommands, EmptyListLeavesTextAndExpressionAlone) {
    RegExp expr = startupExpression();
    expr.setPattern(u"keep");
    EXPECT_EQ(ApplyCommands({}, u"text", expr), u"text");
    EXPECT_EQ(expr.pattern(), u"keep");
    EXPECT_TRUE(expr.ignoreCase());
    EXPECT_EQ(kNoCommandsLoadedMessage, u"Replacing Command Not Found!");
}

TEST(ApplyCommands, BrokenSearchTextThrowsRegExpError) {
    RegExp expr = startupExpression();
    std::optional<std::vector<Command>> commands =
        parseCommandText(u"regrep ---(ab--- with ---x---;", expr, false);
    ASSERT_TRUE(commands);
    EXPECT_THROW(ApplyCommands(*commands, u"ab", expr), RegExpError);
}

TEST(ParseCommandFile, ReadsAFileWithCrLfLineEnds) {
    testing::TempDir dir;
    const std::u16string path = dir.put("units.rep",
                                        "/// spaces before units\r\n"
                                        "===\r\nnotes rep ---px---;\r\n===\r\n"
                                        "  regrep ---(\\d+)px---\r\n"
                                        "    with ---$1\\tpx---;\r\n"
                                        "rep cs ---\xE9t\xE9--- with ---summer---;\r\n");
    RegExp expr = startupExpression();
    std::optional<std::vector<Command>> commands = ParseCommandFile(path, expr, true);
    ASSERT_TRUE(commands);
    ASSERT_EQ(commands->size(), 2u);
    EXPECT_EQ((*commands)[1].search, u"\u00E9t\u00E9");
    EXPECT_EQ(ApplyCommands(*commands, u"12px \u00E9t\u00E9 \u00C9T\u00C9", expr),
              u"12\tpx summer \u00C9T\u00C9");
    EXPECT_THROW(ParseCommandFile(dir.file("none.rep"), expr, true), FileError);
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
