// Plain literals counted on bytes give the decoded text's matches; and the byte prefilter.
#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/text.h"
#include "search/byte_matcher.h"
#include "search/byte_prefilter.h"
#include "search/literal_finder.h"
#include "support/expression.h"
#include "support/finishes_in_time.h"

namespace lodestar {
namespace {

using testing::expression;
using testing::finishesInTime;
using testing::Span;
using testing::spansOf;

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
            const std::vector<std::string> literals = literalsOf(toUtf8(pattern));
            for (const std::string& text : textsFor(literals))
                for (const bool global : {true, false}) {
                    // Bytes beyond ASCII are Windows-1252 characters, where the literals can match
                    // on bytes.
                    const ByteText kind = matcher->fits(ByteText::Windows1252)
                                              ? ByteText::Windows1252
                                              : ByteText::Ascii;
                    SCOPED_TRACE("\"" + text + "\"" + (global ? "" : " once"));
                    const RegExp expr =
                        expression(pattern, {.ignoreCase = ignoreCase, .global = global});
                    const std::vector<Span> decoded = spansOf(expr, widen(text));
                    std::vector<Span> bytes;
                    ASSERT_TRUE(matcher->forEachMatch(
                        text, global,
                        [&](std::size_t i, std::size_t n) {
                            bytes.push_back({i, n});
                        },
                        kind));
                    ASSERT_EQ(bytes, decoded);
                    ASSERT_EQ(matcher->count(text, global, kind), decoded.size());
                    // Each scan width the processor has, not only the widest.
                    for (const auto width : LiteralFinder::widths()) {
                        SCOPED_TRACE(static_cast<int>(width));
                        const LiteralFinder finder(literals, ignoreCase, width);
                        std::vector<Span> found;
                        std::size_t from = 0;
                        while (const auto hit = finder.find(text, from)) {
                            found.push_back({hit->at, hit->length});
                            if (!global) break;
                            from = hit->at + hit->length;
                        }
                        ASSERT_EQ(found, decoded);
                    }
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
            const std::vector<Span> decoded = spansOf(expr, text);
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
    using Literals = std::vector<std::string>;
    const struct {
        std::string_view pcre2;
        std::optional<Literals> literals;
        bool utf8 = false;
    } cases[] = {
        {"caf\\x{e9}", Literals{"caf\xc3\xa9"}, true},
        {"\\x{4e2d}|\\x{9}", Literals{"\xe4\xb8\xad", "\t"}, true},
        {"\\x{9}", Literals{"\t"}},
        {"\\x{d800}", std::nullopt, true},
        {"\\x{1f600}", std::nullopt, true},
        {"\\x{}", std::nullopt, true},
        {"static", Literals{"static"}},
        {"red|green|blue", Literals{"red", "green", "blue"}},
        {"x\\.y|\\ \\|", Literals{"x.y", " |"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.pcre2));
        EXPECT_EQ(plainLiterals(c.pcre2, c.utf8), c.literals);
    }
    // Beyond ASCII without UTF-8 is a Windows-1252 byte; 17 literals are too many at once.
    for (const std::string_view pcre2 :
         {"a|", "|a", "a.c", "ab?", "(a|b)", "[ab]", "\\d", "\\x{e9}", "caf\xc3\xa9",
          "a|b|c|d|e|f|g|h|i|j|k|l|m|n|o|p|q"})
        EXPECT_EQ(plainLiterals(pcre2, false), std::nullopt) << pcre2;
}

// The literals the byte prefilter works out, and its set-up ending on any pattern.
std::optional<BytePrefilter> filterFor(std::u16string_view pattern, bool ignoreCase = false) {
    return finishesInTime("the prefilter's set-up",
                          [&] { return BytePrefilter::forPattern(pattern, ignoreCase); });
}

TEST(BytePrefilter, FindsTheLiteralsEveryMatchHoldsAndRefusesPatternsWithoutThem) {
    const struct {
        std::u16string_view pattern;
        std::vector<std::string> literals;  // empty: no filter
        bool ignoreCase = false;
    } cases[] = {
        {u"colour", {"colour"}},
        {u"colou?r", {"colo"}},
        {u"[0-9]+px", {"px"}},
        {u"red|green|blue", {"red", "green", "blue"}},
        {u"<div[\\s\\S]*?</div>", {"</div>"}},
        {u"ab{0,3}cd", {"cd"}},
        {u"ab{2}c", {"ab"}},
        {u"a\\.b+c", {"a.b"}},
        {u"x{y}", {"y}"}},  // a "{" that is no quantifier is a literal, not used
        {u"(?:ab)?cd(e|f)", {"cd"}},
        {u"[|]ab", {"ab"}},
        {u"COLOUR", {"colour"}, true},
        {u"mask", {"ma"}, true},  // caseless k and s also match the Kelvin sign and long s
        // Refused: an alternative without a literal, escapes that are no plain character,
        // nothing required at all, or folding beyond ASCII.
        {u"red|[0-9]+", {}},
        {u"a*", {}},
        {u"x?", {}},
        {u"\\x41BC", {}},
        {u"\\u0041", {}},
        {u"(a)\\1", {}},
        {u"\\cJ", {}},
        {u"caf\u00e9", {"caf"}},
        {u"\u00e9t\u00e9", {"t"}},
        {u"ks", {}, true},
        {u"", {}},
        {u"a)", {}},
        {u"a|b|c|d|e|f|g|h|i", {}},  // too many to look for
        // Counted quantifiers of several digits keep or drop the character before.
        {u"\\d{10}", {}},
        {u"[0-9a-f]{40}", {}},
        {u".{80,}", {}},
        {u"id=\\d{10}", {"id="}},
        {u"abc{10,20}d", {"abc"}},  // c is there at least ten times
        {u"abc{00}d", {"ab"}},      // a count of zero however written: c may be missing
        {u"abc{00,12}d", {"ab"}},
        {u"xy{010}", {"xy"}},
        {u"ab{12,}cd", {"ab"}},
        {u"(ab){10}cd", {"cd"}},
        {u"ab{12", {"ab"}},  // no closing brace: a literal "{", not used
        {u"ab{1x}cd", {"1x}cd"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(toUtf8(c.pattern));
        const auto filter = filterFor(c.pattern, c.ignoreCase);
        if (c.literals.empty()) {
            EXPECT_FALSE(filter.has_value());
        } else {
            ASSERT_TRUE(filter.has_value());
            EXPECT_EQ(filter->literals(), c.literals);
        }
    }
}

TEST(BytePrefilterQuantifiers, SetUpEndsOnLongAndBrokenPatterns) {
    const std::size_t n = 200'000;
    // `before`, `count` copies of `fill`, then `after`.
    const auto run = [](std::u16string before, std::size_t count, char16_t fill,
                        std::u16string_view after = u"") {
        return before.append(count, fill).append(after);
    };
    std::vector<std::u16string> patterns = {
        run(u"a{", n, u'9', u"}"), run(run(u"a{", n, u'1', u","), n, u'2'),
        run(u"", n, u'('),         run(u"", n, u'['),
        run(u"(", n, u'\\'),       run(u"", n, u'{'),
    };
    std::u16string groups;
    for (std::size_t i = 0; i < n / 4; ++i) groups += u"(a)|";
    patterns.push_back(groups);
    std::u16string counts;
    for (std::size_t i = 0; i < n / 8; ++i) counts += u"b{12,34}";
    patterns.push_back(counts);
    for (const std::u16string& pattern : patterns) {
        SCOPED_TRACE(toUtf8(pattern.substr(0, 12)));
        filterFor(pattern);
        filterFor(pattern, true);
    }
}

}  // namespace
}  // namespace lodestar
