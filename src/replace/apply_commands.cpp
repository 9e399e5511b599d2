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

}  // namespace lodestar
