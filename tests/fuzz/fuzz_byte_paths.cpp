// The byte paths against the decoded path. For any pattern, switches and file bytes: the
// prefilter's set-up ends, and it never rules out bytes whose decoded text has a match; the
// byte matcher, on bytes it says it fits, finds the decoded text's matches at the same places.
// Inputs are cut short and both engines keep their step limits, so each run stays small.
#include <cstdlib>
#include <vector>

#include "files/codepage.h"
#include "fuzz_input.h"
#include "search/byte_matcher.h"
#include "search/byte_prefilter.h"
#include "search/regexp.h"

using namespace lodestar;

namespace {

constexpr std::size_t kLongestPattern = 256;
constexpr std::size_t kLongestText = 1024;

struct Span {
    std::size_t index;
    std::size_t length;
    bool operator==(const Span&) const = default;
};

bool allAscii(std::string_view bytes) {
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

}  // namespace

// Input: a switch byte (1 ignore case, 2 multiline, 4 global), the pattern (one code unit per
// byte), a NUL, and the file's bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const uint8_t switches = data[0];
    auto [patternBytes, bytes] = fuzz::splitAtNul(fuzz::bytesOf(data + 1, size - 1));
    patternBytes = patternBytes.substr(0, kLongestPattern);
    bytes = bytes.substr(0, kLongestText);
    const std::u16string pattern = fuzz::narrowFrom(patternBytes);
    const bool ignoreCase = switches & 1;
    const bool multiline = switches & 2;
    const bool global = switches & 4;

    RegExp expr;
    expr.setPattern(pattern);
    expr.setIgnoreCase(ignoreCase);
    expr.setMultiline(multiline);
    expr.setGlobal(global);
    const std::u16string text = decodeWindows1252(bytes);  // ASCII bytes decode the same way
    std::vector<Span> decoded;
    try {
        expr.forEachMatch(text, [&](const MatchSpan& m) {
            decoded.push_back({m.index, m.length});
        });
    } catch (const RegExpError&) {
        // A refused pattern, or one past the engine's limits: only the set-ups are exercised.
        BytePrefilter::forPattern(pattern, ignoreCase);
        ByteMatcher::forPattern(pattern, ignoreCase, multiline);
        return 0;
    }

    if (const auto filter = BytePrefilter::forPattern(pattern, ignoreCase))
        if (!filter->mayMatch(bytes) && !decoded.empty()) std::abort();

    const auto matcher = ByteMatcher::forPattern(pattern, ignoreCase, multiline);
    if (!matcher || !matcher->fits(allAscii(bytes) ? ByteText::Ascii : ByteText::Windows1252))
        return 0;
    std::vector<Span> found;
    const bool finished =
        matcher->forEachMatch(bytes, global, [&](std::size_t index, std::size_t length) {
            found.push_back({index, length});
        });
    if (finished && found != decoded) std::abort();
    if (finished && matcher->count(bytes, global) != decoded.size()) std::abort();
    return 0;
}
