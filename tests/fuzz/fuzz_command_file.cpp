// Command files: any text parses to commands or to none, and applying the commands to a text
// ends with the result or with an Error (a broken search text, a result too large).
#include "fuzz_input.h"
#include "replace/command_file.h"

using namespace lodestar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const auto [commandBytes, textBytes] = fuzz::splitAtNul(fuzz::bytesOf(data + 1, size - 1));
    RegExp expr;
    expr.setIgnoreCase(data[0] & 1);
    expr.setGlobal(data[0] & 2);
    try {
        const auto commands = parseCommandText(fuzz::narrowFrom(commandBytes), expr, data[0] & 4);
        if (commands) ApplyCommands(*commands, fuzz::narrowFrom(textBytes), expr);
    } catch (const Error&) {
    }
    return 0;
}
