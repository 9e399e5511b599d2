// UTF-8 matched on its bytes against the decoded path, over every pattern, text and switch of
// the oracle's corpus: each text as UTF-8 (and again wrapped in letters beyond ASCII, so that
// every case meets the UTF-8 matcher), the same matches at the same places once byte offsets are
// counted in the decoded text's code units.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/text.h"
#include "search/byte_matcher.h"
#include "support/expression.h"

namespace lodestar {
namespace {

using testing::expression;

// Just enough JSON for the corpus: strings (with \u escapes, kept as UTF-16), arrays, objects,
// and the scalars passed over.
struct Json {
    std::u16string text;
    std::vector<Json> items;                               // of an array
    std::vector<std::pair<std::u16string, Json>> members;  // of an object
    const Json* member(std::u16string_view name) const {
        for (const auto& [key, value] : members)
            if (key == name) return &value;
        return nullptr;
    }
};

class JsonReader {
  public:
    explicit JsonReader(std::string source) : s_(std::move(source)) {}
    Json value() {
        space();
        Json out;
        if (s_[i_] == '"') {
            out.text = string();
        } else if (s_[i_] == '[') {
            ++i_;
            while (space(), s_[i_] != ']') {
                out.items.push_back(value());
                space();
                if (s_[i_] == ',') ++i_;
            }
            ++i_;
        } else if (s_[i_] == '{') {
            ++i_;
            while (space(), s_[i_] != '}') {
                std::u16string key = string();
                space();
                ++i_;  // ':'
                out.members.emplace_back(std::move(key), value());
                space();
                if (s_[i_] == ',') ++i_;
            }
            ++i_;
        } else {
            while (i_ < s_.size() &&
                   std::string_view(",]} \n\r\t").find(s_[i_]) == std::string_view::npos)
                ++i_;
        }
        return out;
    }

  private:
    void space() {
        while (i_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[i_]))) ++i_;
    }
    std::u16string string() {
        ++i_;  // '"'
        std::string bytes;
        std::u16string out;
        const auto flush = [&] {
            out += fromUtf8(bytes);
            bytes.clear();
        };
        while (s_[i_] != '"') {
            if (s_[i_] != '\\') {
                bytes += s_[i_++];
                continue;
            }
            flush();
            const char e = s_[i_ + 1];
            i_ += 2;
            if (e == 'u') {
                out += static_cast<char16_t>(std::stoul(s_.substr(i_, 4), nullptr, 16));
                i_ += 4;
            } else {
                out += e == 'n'   ? u'\n'
                       : e == 'r' ? u'\r'
                       : e == 't' ? u'\t'
                       : e == 'b' ? u'\b'
                       : e == 'f' ? u'\f'
                                  : static_cast<char16_t>(e);
            }
        }
        ++i_;
        flush();
        return out;
    }
    std::string s_;
    std::size_t i_ = 0;
};

struct Case {
    std::u16string pattern, flags, text;
};

std::vector<Case> oracleCases() {
    std::ifstream file(std::string(LODESTAR_SOURCE_DIR) + "/tests/search/oracle/cases.json");
    std::stringstream source;
    source << file.rdbuf();
    const Json root = JsonReader(source.str()).value();
    std::vector<Case> cases;
    for (const char16_t* list : {u"cases", u"whitelist"})
        for (const Json& c : root.member(list)->items)
            cases.push_back({c.member(u"p")->text, c.member(u"f")->text, c.member(u"t")->text});
    for (const Json& family : root.member(u"families")->items)
        for (const Json& p : family.member(u"patterns")->items)
            for (const Json& t : family.member(u"texts")->items)
                for (const Json& f : family.member(u"flags")->items)
                    cases.push_back({p.text, f.text, t.text});
    return cases;
}

struct Span {
    std::size_t index;
    std::size_t length;
    bool operator==(const Span&) const = default;
};

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
                expr.forEachMatch(text, [&](const MatchSpan& m) {
                    decoded.push_back({m.index, m.length});
                });
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

}  // namespace
}  // namespace lodestar
