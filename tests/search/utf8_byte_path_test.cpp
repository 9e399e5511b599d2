// UTF-8 matched on its bytes gives the decoded path's matches over the oracle's corpus.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/text.h"
#include "search/byte_matcher.h"
#include "search/regexp.h"
#include "support/expression.h"

namespace lodestar {
namespace {

using testing::expression;
using testing::Span;

// Just enough JSON for the corpus: objects, arrays and strings (kept as UTF-16, as \u escapes
// are); other values are passed over. An object's members are its items, named by `keys`.
struct Json {
    std::u16string text;
    std::vector<Json> items;
    std::vector<std::u16string> keys;
    const Json& operator[](std::u16string_view key) const {
        return items.at(std::find(keys.begin(), keys.end(), key) - keys.begin());
    }
};

Json parse(const std::string& s, std::size_t& i) {
    const auto skip = [&] {
        while (i < s.size() && std::string_view(" \t\r\n,:").find(s[i]) != std::string_view::npos)
            ++i;
    };
    skip();
    Json out;
    if (s[i] == '[' || s[i] == '{') {
        const char close = s[i++] == '[' ? ']' : '}';
        for (skip(); s[i] != close; skip()) {
            if (close == '}') out.keys.push_back(parse(s, i).text);
            out.items.push_back(parse(s, i));
        }
        ++i;
        return out;
    }
    if (s[i] != '"') {
        while (i < s.size() && std::string_view(",]}").find(s[i]) == std::string_view::npos) ++i;
        return out;
    }
    std::string bytes;
    for (++i; s[i] != '"'; ++i) {
        if (s[i] != '\\') {
            bytes += s[i];
            continue;
        }
        out.text += fromUtf8(std::exchange(bytes, {}));
        const char e = s[++i];
        if (e == 'u') {
            out.text += static_cast<char16_t>(std::stoul(s.substr(i + 1, 4), nullptr, 16));
            i += 4;
        } else {
            const std::string_view from = "nrtbf", to = "\n\r\t\b\f";
            const std::size_t k = from.find(e);
            out.text += static_cast<char16_t>(k == std::string_view::npos ? e : to[k]);
        }
    }
    ++i;
    out.text += fromUtf8(bytes);
    return out;
}

struct Case {
    std::u16string pattern, flags, text;
};

std::vector<Case> oracleCases() {
    std::ifstream file(std::string(LODESTAR_SOURCE_DIR) + "/tests/search/oracle/cases.json");
    std::stringstream source;
    source << file.rdbuf();
    std::size_t at = 0;
    const Json root = parse(source.str(), at);
    std::vector<Case> cases;
    for (const char16_t* list : {u"cases", u"whitelist"})
        for (const Json& c : root[list].items)
            cases.push_back({c[u"p"].text, c[u"f"].text, c[u"t"].text});
    for (const Json& family : root[u"families"].items)
        for (const Json& p : family[u"patterns"].items)
            for (const Json& t : family[u"texts"].items)
                for (const Json& f : family[u"flags"].items)
                    cases.push_back({p.text, f.text, t.text});
    return cases;
}

bool withinBmp(std::u16string_view text) {
    for (const char16_t c : text)
        if (c >= 0xD800 && c <= 0xDFFF) return false;
    return true;
}

TEST(Utf8BytePath, MatchesTheDecodedTextOnTheOracleCorpus) {
    const std::vector<Case> cases = oracleCases();
    ASSERT_GT(cases.size(), 1000u);
    std::size_t compared = 0;
    for (const Case& c : cases) {
        const bool ignoreCase = c.flags.find(u'i') != std::u16string::npos;
        const bool multiline = c.flags.find(u'm') != std::u16string::npos;
        const bool global = c.flags.find(u'g') != std::u16string::npos;
        const auto matcher = ByteMatcher::forPattern(c.pattern, ignoreCase, multiline);
        if (!matcher || !matcher->fits(ByteText::Utf8)) continue;
        const RegExp expr = expression(
            c.pattern, {.ignoreCase = ignoreCase, .global = global, .multiline = multiline});
        for (const std::u16string& text : {c.text, u"\u00e9\u4e2d " + c.text + u" \u00dfK\u212a"}) {
            if (!withinBmp(text)) continue;
            SCOPED_TRACE(toUtf8(c.pattern) + " /" + toUtf8(c.flags) + " on \"" + toUtf8(text) +
                         "\"");
            std::vector<Span> decoded;
            try {
                decoded = testing::spansOf(expr, text);
            } catch (const RegExpError&) {
                continue;  // past the engine's limits
            }
            const std::string bytes = toUtf8(text);
            // The code unit of the decoded text at each byte offset: the characters before it.
            std::vector<std::size_t> unitAt(bytes.size() + 1, 0);
            for (std::size_t b = 0, unit = 0; b <= bytes.size(); ++b) {
                unitAt[b] = unit;
                if (b < bytes.size() && (static_cast<unsigned char>(bytes[b]) & 0xC0) != 0x80)
                    ++unit;
            }
            std::vector<Span> found;
            const bool finished = matcher->forEachMatch(
                bytes, global,
                [&](std::size_t i, std::size_t n) {
                    found.push_back({unitAt[i], unitAt[i + n] - unitAt[i]});
                },
                ByteText::Utf8);
            ASSERT_TRUE(finished);
            EXPECT_EQ(found, decoded);
            EXPECT_EQ(matcher->count(bytes, global, ByteText::Utf8), decoded.size());
            ++compared;
        }
    }
    EXPECT_GT(compared, 1000u);
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
