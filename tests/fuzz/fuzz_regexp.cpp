// The pattern translator and the engine: any pattern either compiles or is refused with
// RegExpError, and over any text every operation ends with results that agree with each other
// or with RegExpError (too complex, too large) -- never a crash, a hang or another exception.
#include <cstdlib>

#include "fuzz_input.h"
#include "search/regexp.h"

using namespace lodestar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const uint8_t switches = data[0];
    const auto [patternBytes, textBytes] = fuzz::splitAtNul(fuzz::bytesOf(data + 1, size - 1));
    RegExp expr;
    expr.setPattern(fuzz::narrowFrom(patternBytes));
    expr.setIgnoreCase(switches & 1);
    expr.setMultiline(switches & 2);
    expr.setGlobal(switches & 4);
    const std::u16string text =
        switches & 8 ? fuzz::wideFrom(textBytes) : fuzz::narrowFrom(textBytes);
    try {
        const std::vector<Match> matches = expr.execute(text);
        if (expr.count(text) != matches.size()) std::abort();
        std::size_t visited = 0;
        expr.forEachMatch(text, [&](const MatchSpan& span) {
            if (visited >= matches.size() || span.index != matches[visited].index ||
                span.length != matches[visited].value.size() ||
                span.index + span.length > text.size())
                std::abort();
            ++visited;
        });
        const std::u16string replaced = expr.replace(text, u"[$1$&$`$'$$]");
        if (matches.empty() && replaced != text) std::abort();
    } catch (const RegExpError&) {
    }
    return 0;
}
