// Runs a parsed command list over one text through the shared expression.
#include "replace/command_file.h"

namespace lodestar {

std::u16string ApplyCommands(const std::vector<Command>& commands, std::u16string_view text,
                             RegExp& expr) {
    std::u16string result(text);
    for (const Command& command : commands) {
        // A command without cs ignores case whatever the user's switch says.
        expr.setIgnoreCase(!command.caseSensitive);
        expr.setPattern(command.search);
        result = expr.replace(result, command.replacement);
    }
    return result;
}

}  // namespace lodestar
