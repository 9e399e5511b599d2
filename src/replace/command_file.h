// Batch command files (*.rep): a list of replacements written as
//   rep|regrep|replace|regreplace [cs] D search D [to D text D] [with D replacement D];
// with "///" line comments, "===" block comments and an optional !delimiter="D" directive
// (D is "---" by default). Parsing and applying both run on the shared expression.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "search/regexp.h"

namespace lodestar {

// Logged by the caller when a command file holds no command.
inline constexpr std::u16string_view kCommandNotFoundMessage =
    u"Replacing command not found!\r\nPlease check the replacing command file.";
// Logged by the caller when commands are applied while none are loaded.
inline constexpr std::u16string_view kNoCommandsLoadedMessage = u"Replacing Command Not Found!";

enum class CommandKind {
    Reg,    // a word beginning with "reg": escapes of the replacement are decoded
    To,     // another word, with a "to" clause
    Plain,  // another word, without a "to" clause
};

// One command; every kind is applied alike: the search text as a regular expression, the
// replacement with "$1" and the like.
struct Command {
    std::u16string search;
    std::u16string replacement;  // empty without a "with" clause: the matches are deleted
    bool caseSensitive = false;  // the "cs" flag
    CommandKind kind = CommandKind::Plain;
};

// Parses the text of a command file. Uses `expr` with its current ignore-case and global
// switches (with global off only the first comment of each kind is removed and only the first
// command found); sets its pattern. nullopt when no command is found (report
// kCommandNotFoundMessage). Throws RegExpError when a grammar pattern fails, for example
// because the delimiter is regular-expression syntax that breaks the command pattern.
std::optional<std::vector<Command>> parseCommandText(std::u16string_view text, RegExp& expr,
                                                     bool escapeSupport);

// Reads the file with LoadFileText and parses it as above. Throws FileError when unreadable.
std::optional<std::vector<Command>> ParseCommandFile(const std::u16string& path, RegExp& expr,
                                                     bool escapeSupport);

// Applies the commands in order, each to the result of the one before: sets ignore case to
// the opposite of the command's cs flag and the pattern to its search text, then replaces
// (every match or the first, as the global switch says). Leaves `expr` with the last
// command's pattern and ignore case. With no commands the text comes back unchanged (report
// kNoCommandsLoadedMessage). Throws RegExpError for a search text the engine rejects, and
// ReplaceTooLarge when the results together grow past replaceResultLimit of `text`.
std::u16string ApplyCommands(const std::vector<Command>& commands, std::u16string_view text,
                             RegExp& expr);

// The commands made ready to apply to many texts, as ApplyCommands applies them: each command's
// expression (the switches of `expr`, the command's case and search text) compiled once, not
// once per text. Copies may apply on different threads at once.
class CommandChain {
  public:
    CommandChain(const std::vector<Command>& commands, const RegExp& expr);
    std::u16string apply(std::u16string_view text) const;
    // Leaves `expr` as ApplyCommands leaves it: the last command's pattern and ignore case.
    void leaveLastOn(RegExp& expr) const;

  private:
    std::vector<RegExp> expressions_;
    std::vector<std::u16string> replacements_;
};

}  // namespace lodestar
