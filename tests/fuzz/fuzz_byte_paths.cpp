// The byte paths against the decoded path. For any pattern, switches and file bytes: the
// prefilter's set-up ends, and it never rules out bytes whose decoded text has a match; the
// byte matcher, on bytes it says it fits, finds the decoded text's matches at the same places.
// With the UTF-8 switch, bytes that are UTF-8 within U+FFFF are matched as UTF-8 and the
// matches, counted in the decoded text's code units, are the decoded text's.
// Inputs are cut short and both engines keep their step limits, so each run stays small.
#include <cstdlib>
#include <optional>
#include <vector>

#include "core/text.h"
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

// The UTF-8 bytes' text when each of their characters is one code unit of it.
std::optional<std::u16string> utf8WithinBmp(std::string_view bytes) {
    std::u16string text = fromUtf8(bytes);
    for (const char16_t c : text)
        if (c >= 0xD800 && c <= 0xDFFF) return std::nullopt;
    if (toUtf8(text) != bytes) return std::nullopt;
    return text;
}

}  // namespace

// Input: a switch byte (1 ignore case, 2 multiline, 4 global, 8 the bytes read as UTF-8), the
// pattern (one code unit per byte), a NUL, and the file's bytes.
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
    const std::optional<std::u16string> utf8 =
        switches & 8 ? utf8WithinBmp(bytes) : std::optional<std::u16string>();
    if (switches & 8 && !utf8) return 0;
    // ASCII bytes decode the same way as Windows-1252 and as UTF-8.
    const std::u16string text = utf8 ? *utf8 : decodeWindows1252(bytes);
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
    const ByteText kind = allAscii(bytes) ? ByteText::Ascii
                          : utf8          ? ByteText::Utf8
                                          : ByteText::Windows1252;
    if (!matcher || !matcher->fits(kind)) return 0;
    // The code unit of the text at each byte: one per byte, or one per UTF-8 character.
    std::vector<std::size_t> unitAt(bytes.size() + 1, 0);
    for (std::size_t b = 0, unit = 0; b <= bytes.size(); ++b) {
        unitAt[b] = unit;
        if (b < bytes.size() && (!utf8 || (static_cast<uint8_t>(bytes[b]) & 0xC0) != 0x80)) ++unit;
    }
    std::vector<Span> found;
    const bool finished = matcher->forEachMatch(
        bytes, global,
        [&](std::size_t index, std::size_t length) {
            found.push_back({unitAt[index], unitAt[index + length] - unitAt[index]});
        },
        kind);
    if (finished && found != decoded) std::abort();
    if (finished && matcher->count(bytes, global, kind) != decoded.size()) std::abort();
    return 0;
}
