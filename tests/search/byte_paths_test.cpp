// The byte path (the pattern matched straight on an ASCII or Windows-1252 file's bytes, and
// the prefilter's verdict) against the decoded path (RegExp on the text those bytes decode
// to): for every pattern, switch and text, the same matches at the same places.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/text.h"
#include "search/byte_matcher.h"
#include "search/byte_prefilter.h"
#include "search/regexp.h"
#include "support/expression.h"

namespace lodestar {
namespace {

using testing::expression;

struct Span {
    std::size_t index;
    std::size_t length;
    bool operator==(const Span&) const = default;
};

std::vector<Span> decodedSpans(const RegExp& expr, std::u16string_view text) {
    std::vector<Span> spans;
    expr.forEachMatch(text, [&](const MatchSpan& m) { spans.push_back({m.index, m.length}); });
    return spans;
}

// One code unit per byte: ASCII, and Windows-1252 for the patterns the matcher takes on it.
std::u16string widen(std::string_view bytes) {
    std::u16string text;
    for (const char c : bytes) text.push_back(static_cast<unsigned char>(c));
    return text;
}

TEST(BytePaths, MatchTheDecodedTextOnEveryCase) {
    const std::vector<std::u16string_view> patterns = {
        u"(?=(|S){0})", u"(?=(a|S){0})",
        u"(?=a)a?a",    u"((?=b)x?)b",
        u"(|.*b){0}c*", u"(?=S)(?:a{0}S+){1,}",
        u"\\d{10}",     u"[0-9a-f]{40}",
        u".{80,}",      u"a{10,20}",
        u"^",           u"$",
        u"^$",          u"^.*$",
        u"$\\n^",       u"^[ \\t]*$",
        u"\\r$",        u"^\\n",
        u"x*",          u"(?:)|b",
        u"\\bline\\b",  u"[^]",
        u".",
    };
    const std::vector<std::string> texts = {
        "abcd",
        "aab a",
        "abSxab SS",
        "line\r\nline\r\n",
        "a\rb\nc\r\nd\r\n\r\n\n\r",
        "\r\n",
        "call 0123456789 or 5550001111\r\n",
        "0123456789abcdef0123456789abcdef01234567" + std::string(50, 'a'),
        "caf\xe9\r\n\xe9t\xe9",  // Windows-1252
        "",
    };
    for (const auto pattern : patterns)
        for (const bool ignoreCase : {false, true})
            for (const bool multiline : {false, true}) {
                const auto matcher = ByteMatcher::forPattern(pattern, ignoreCase, multiline);
                ASSERT_TRUE(matcher) << toUtf8(pattern);
                const auto filter = BytePrefilter::forPattern(pattern, ignoreCase);
                const RegExp expr =
                    expression(pattern, {.ignoreCase = ignoreCase, .multiline = multiline});
                for (const std::string& text : texts) {
                    const bool ascii = std::all_of(text.begin(), text.end(), [](char c) {
                        return static_cast<unsigned char>(c) < 0x80;
                    });
                    if (!matcher->fits(ascii ? ByteText::Ascii : ByteText::Windows1252)) continue;
                    SCOPED_TRACE(toUtf8(pattern) + (ignoreCase ? " i" : "") +
                                 (multiline ? " m" : "") + " on \"" + text + "\"");
                    const std::vector<Span> decoded = decodedSpans(expr, widen(text));
                    std::vector<Span> bytes;
                    ASSERT_TRUE(
                        matcher->forEachMatch(text, true, [&](std::size_t i, std::size_t n) {
                            bytes.push_back({i, n});
                        }));
                    EXPECT_EQ(bytes, decoded);
                    if (filter && !filter->mayMatch(text)) {
                        EXPECT_TRUE(decoded.empty());
                    }
                }
            }
}

// An empty view without an address (a default-constructed one) is an empty text like any other.
TEST(BytePaths, EmptyViewsWithoutAnAddressAreEmptyTexts) {
    for (const std::u16string_view pattern : {u"^.*$$", u"(?:a|)b*", u"$"}) {
        SCOPED_TRACE(toUtf8(pattern));
        const RegExp expr = expression(pattern, {.multiline = true});
        EXPECT_EQ(expr.count(std::u16string_view()), expr.count(u""));
        EXPECT_EQ(expr.replace(std::u16string_view(), u"x"), expr.replace(u"", u"x"));
        const auto matcher = ByteMatcher::forPattern(pattern, false, true);
        ASSERT_TRUE(matcher);
        EXPECT_EQ(matcher->count(std::string_view(), true), matcher->count("", true));
    }
}

}  // namespace
}  // namespace lodestar
