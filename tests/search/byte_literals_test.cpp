// Patterns of plain literals counted on bytes without the regular-expression engine: the same
// matches at the same places as the decoded text gives, wherever the literals fall (across the
// scan's sixteen-byte steps, at the very end, overlapping, on shared prefixes, in either case).
#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/text.h"
#include "search/byte_matcher.h"
#include "search/literal_finder.h"
#include "support/expression.h"

namespace lodestar {
namespace {

using testing::expression;

struct Span {
    std::size_t index;
    std::size_t length;
    bool operator==(const Span&) const = default;
};

std::u16string widen(std::string_view bytes) {
    return {bytes.begin(), bytes.end()};
}

// The literals of a pattern of them: split at "|", escapes taken off.
std::vector<std::string> literalsOf(std::string_view pattern) {
    std::vector<std::string> literals(1);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '|')
            literals.emplace_back();
        else
            literals.back() += pattern[i] == '\\' ? pattern[++i] : pattern[i];
    }
    return literals;
}

// Texts made of the literals' own letters in both cases and two Windows-1252 letters, so that
// near misses and overlaps are everywhere, of every length up to a few scan steps, and the
// literals at every offset of a longer text.
std::vector<std::string> textsFor(const std::vector<std::string>& literals) {
    std::vector<std::string> texts = {"", "x"};
    std::string letters = "x_ \n\xC9\xE9";
    for (const std::string& literal : literals)
        for (const char c : literal) letters += {c, static_cast<char>(std::toupper(c))};
    std::mt19937 random(7);
    for (std::size_t length = 1; length < 70; ++length)
        for (int k = 0; k < 6; ++k) {
            std::string text;
            for (std::size_t i = 0; i < length; ++i) text += letters[random() % letters.size()];
            texts.push_back(text);
        }
    for (const std::string& literal : literals)
        for (std::size_t at = 0; at < 40; ++at) {
            std::string text(40, '.');
            text.insert(at, literal);
            texts.push_back(text);
            texts.push_back(text.substr(0, at + literal.size()));  // the literal ends the text
        }
    return texts;
}

TEST(ByteLiterals, FindWhatTheDecodedTextFinds) {
    const std::vector<std::u16string_view> patterns = {
        u"static",
        u"a",
        u"aa",
        u"aba",
        u"ab|abc",
        u"abc|ab",
        u"b|ab|abc",
        u"red|green|blue",
        u"e|ee|eee",
        u"x\\.y|x\\+",
        u"Error",
        u"ERROR|warn",
        u"a b|b\\ a",
        u"mutex|spinlock|kmalloc|printk|jiffies",
        // Keyed on bytes at different offsets, many at once.
        u"zab|abz|bz",
        u"lock|spinlock|spin",
        u"kmalloc|malloc|alloc",
        u"Mutex|MUTEX|mutex_",
        u"a\\-b|\\-|b\\-a",
        u"a|b|c|d|e|f|g|h|i|j|k|l|m|n|o|p",
    };
    for (const auto pattern : patterns)
        for (const bool ignoreCase : {false, true}) {
            SCOPED_TRACE(toUtf8(pattern) + (ignoreCase ? " i" : ""));
            const auto matcher = ByteMatcher::forPattern(pattern, ignoreCase, false);
            ASSERT_TRUE(matcher && matcher->scansLiterals(ByteText::Ascii));
            for (const std::string& text : textsFor(literalsOf(toUtf8(pattern))))
                for (const bool global : {true, false}) {
                    // Bytes beyond ASCII are Windows-1252 characters, where the literals can match
                    // on bytes.
                    const ByteText kind = matcher->fits(ByteText::Windows1252)
                                              ? ByteText::Windows1252
                                              : ByteText::Ascii;
                    SCOPED_TRACE("\"" + text + "\"" + (global ? "" : " once"));
                    const RegExp expr =
                        expression(pattern, {.ignoreCase = ignoreCase, .global = global});
                    std::vector<Span> decoded;
                    expr.forEachMatch(widen(text), [&](const MatchSpan& m) {
                        decoded.push_back({m.index, m.length});
                    });
                    std::vector<Span> bytes;
                    ASSERT_TRUE(matcher->forEachMatch(
                        text, global,
                        [&](std::size_t i, std::size_t n) {
                            bytes.push_back({i, n});
                        },
                        kind));
                    ASSERT_EQ(bytes, decoded);
                    ASSERT_EQ(matcher->count(text, global, kind), decoded.size());
                }
        }
}

// Literals beyond ASCII on UTF-8 bytes: the places, counted in characters, are the decoded
// text's.
TEST(ByteLiterals, Utf8LiteralsFindWhatTheDecodedTextFinds) {
    // Caseless ASCII literals too, among letters that fold to ASCII ones (the Kelvin sign, the
    // long s) or nearly (dotted and dotless i).
    const struct {
        std::u16string_view pattern;
        bool ignoreCase = false;
        bool scansLiterals = true;  // else the engine matches the UTF-8
    } cases[] = {{u"caf\u00e9"},       {u"\u4e2d\u6587|\u03b1\u03b2\u03b3"},
                 {u"\u00e9|e"},        {u"e|\u00e9\u00e9"},
                 {u"\u20ac 5"},        {u"cafe|fi", true},
                 {u"ok", true, false}, {u"so", true, false}};
    const std::u16string letters =
        u"caf\u00e9e\u4e2d\u6587\u03b1\u03b2\u03b3\u20ac 5xCAFEIks\u212a\u017f\u0130\u0131";
    std::mt19937 random(11);
    for (const auto& c : cases) {
        SCOPED_TRACE(toUtf8(c.pattern) + (c.ignoreCase ? " i" : ""));
        const auto matcher = ByteMatcher::forPattern(c.pattern, c.ignoreCase, false);
        ASSERT_TRUE(matcher && matcher->fits(ByteText::Utf8));
        ASSERT_EQ(matcher->scansLiterals(ByteText::Utf8), c.scansLiterals);
        const RegExp expr = expression(c.pattern, {.ignoreCase = c.ignoreCase});
        for (std::size_t length = 0; length < 60; ++length) {
            std::u16string text;
            for (std::size_t i = 0; i < length; ++i) text += letters[random() % letters.size()];
            SCOPED_TRACE(toUtf8(text));
            std::vector<Span> decoded;
            expr.forEachMatch(text, [&](const MatchSpan& m) {
                decoded.push_back({m.index, m.length});
            });
            const std::string bytes = toUtf8(text);
            std::vector<Span> found;
            ASSERT_TRUE(matcher->forEachMatch(
                bytes, true,
                [&](std::size_t i, std::size_t n) {
                    const std::size_t at = fromUtf8(bytes.substr(0, i)).size();
                    found.push_back({at, fromUtf8(bytes.substr(i, n)).size()});
                },
                ByteText::Utf8));
            ASSERT_EQ(found, decoded);
        }
    }
}

TEST(ByteLiterals, OnlyPlainLiteralsAreTakenAsSuch) {
    const struct {
        std::string_view pcre2;
        std::optional<std::vector<std::string>> literals;
        bool utf8 = false;
    } cases[] = {
        {"caf\\x{e9}", std::vector<std::string>{"caf\xc3\xa9"}, true},
        {"\\x{4e2d}|\\x{9}", std::vector<std::string>{"\xe4\xb8\xad", "\t"}, true},
        {"\\x{9}", std::vector<std::string>{"\t"}},
        {"\\x{e9}", std::nullopt},  // beyond ASCII means a Windows-1252 byte here
        {"\\x{d800}", std::nullopt, true},
        {"\\x{1f600}", std::nullopt, true},
        {"\\x{}", std::nullopt, true},
        {"static", std::vector<std::string>{"static"}},
        {"red|green|blue", std::vector<std::string>{"red", "green", "blue"}},
        {"x\\.y|\\ \\|", std::vector<std::string>{"x.y", " |"}},
        {"a|", std::nullopt},
        {"|a", std::nullopt},
        {"a.c", std::nullopt},
        {"ab?", std::nullopt},
        {"(a|b)", std::nullopt},
        {"[ab]", std::nullopt},
        {"\\d", std::nullopt},
        {"\\x{e9}", std::nullopt},
        {"caf\xc3\xa9", std::nullopt},
        {"a|b|c|d|e|f|g|h|i|j|k|l|m|n|o|p|q", std::nullopt},  // too many to scan for at once
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pcre2));
        EXPECT_EQ(plainLiterals(c.pcre2, c.utf8), c.literals);
    }
}

}  // namespace
}  // namespace lodestar
