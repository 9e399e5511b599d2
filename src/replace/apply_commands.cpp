// Runs a parsed command list over one text through the shared expression.
#include "replace/command_file.h"

namespace lodestar {

std::u16string ApplyCommands(const std::vector<Command>& commands, std::u16string_view text,
                             RegExp& expr) {
    // The whole chain is bounded by the file's text, so commands that feed each other's growth
    // stop too.
    const std::size_t limit = replaceResultLimit(text.size());
    std::u16string result(text);
    for (const Command& command : commands) {
        // A command without cs ignores case whatever the user's switch says.
        expr.setIgnoreCase(!command.caseSensitive);
        expr.setPattern(command.search);
        result = expr.replace(result, command.replacement, nullptr, limit);
    }
    return result;
}

CommandChain::CommandChain(const std::vector<Command>& commands, const RegExp& expr) {
    for (const Command& command : commands) {
        RegExp& own = expressions_.emplace_back(expr);
        own.setIgnoreCase(!command.caseSensitive);
        own.setPattern(command.search);
        replacements_.push_back(command.replacement);
    }
}

std::u16string CommandChain::apply(std::u16string_view text) const {
    const std::size_t limit = replaceResultLimit(text.size());
    std::u16string result(text);
    for (std::size_t i = 0; i < expressions_.size(); ++i)
        result = expressions_[i].replace(result, replacements_[i], nullptr, limit);
    return result;
}

void CommandChain::leaveLastOn(RegExp& expr) const {
    if (expressions_.empty()) return;
    expr.setIgnoreCase(expressions_.back().ignoreCase());
    expr.setPattern(expressions_.back().pattern());
}

}  // namespace lodestar
