// Runs RegExp over cases given as JSON lines on stdin and prints one JSON line per case, for
// the differential test against Node.js (oracle/oracle.mjs). A case is
// {"p": pattern, "f": flags among "gim", "t": text, "r": replacement}; the answer is
// {"ok": true, "m": [{"i": index, "v": value, "s": [sub-match or null, ...]}, ...],
//  "r": replaced text, "agree": whether count and forEachMatch agree with execute}
// or {"ok": false, "e": message} when RegExp throws.
#include <iostream>
#include <map>
#include <string>
#include <string_view>

#include "search/regexp.h"

namespace {

using lodestar::RegExp;

// The JSON this probe reads: one flat object of string values per line.
class LineParser {
  public:
    explicit LineParser(const std::string& line) : s_(line) {}

    std::map<std::string, std::u16string> object() {
        std::map<std::string, std::u16string> fields;
        expect('{');
        skipSpace();
        if (peek() == '}') return fields;
        for (;;) {
            std::u16string key = string();
            expect(':');
            fields[std::string(key.begin(), key.end())] = string();
            skipSpace();
            if (peek() == ',') {
                ++i_;
                continue;
            }
            expect('}');
            return fields;
        }
    }

  private:
    char peek() const { return i_ < s_.size() ? s_[i_] : '\0'; }
    void skipSpace() {
        while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\r')) ++i_;
    }
    void expect(char c) {
        skipSpace();
        if (peek() != c) throw std::runtime_error(std::string("expected ") + c);
        ++i_;
    }
    unsigned hex4() {
        if (i_ + 4 > s_.size()) throw std::runtime_error("short \\u escape");
        unsigned value = std::stoul(s_.substr(i_, 4), nullptr, 16);
        i_ += 4;
        return value;
    }
    std::u16string string() {
        expect('"');
        std::u16string out;
        while (peek() != '"') {
            if (i_ >= s_.size()) throw std::runtime_error("unterminated string");
            unsigned char c = static_cast<unsigned char>(s_[i_++]);
            if (c == '\\') {
                const char e = s_[i_++];
                const std::size_t named = std::string_view("nrtbf").find(e);
                if (e == 'u') {
                    out += static_cast<char16_t>(hex4());
                } else {
                    out += named != std::string_view::npos ? u"\n\r\t\b\f"[named]
                                                           : static_cast<char16_t>(e);
                }
            } else if (c < 0x80) {
                out += static_cast<char16_t>(c);
            } else {
                // UTF-8 sequence (the oracle escapes non-ASCII, but accept it anyway).
                int more = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : 1;
                char32_t cp = c & (0x3F >> more);
                for (int k = 0; k < more; ++k) cp = (cp << 6) | (s_[i_++] & 0x3F);
                if (cp >= 0x10000) {
                    cp -= 0x10000;
                    out += static_cast<char16_t>(0xD800 + (cp >> 10));
                    out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
                } else {
                    out += static_cast<char16_t>(cp);
                }
            }
        }
        ++i_;
        return out;
    }

    const std::string& s_;
    std::size_t i_ = 0;
};

std::string json(std::u16string_view text) {
    static const char* kHex = "0123456789abcdef";
    std::string out = "\"";
    for (char16_t c : text) {
        if (c == u'"' || c == u'\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            out += "\\u";
            for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(c >> shift) & 0xF];
        }
    }
    return out + "\"";
}

std::string runCase(const std::map<std::string, std::u16string>& c) {
    const auto field = [&](const char* name) {
        auto it = c.find(name);
        return it == c.end() ? std::u16string() : it->second;
    };
    const std::u16string flags = field("f");
    const std::u16string text = field("t");
    RegExp re;
    re.setPattern(field("p"));
    re.setIgnoreCase(flags.find(u'i') != std::u16string::npos);
    re.setGlobal(flags.find(u'g') != std::u16string::npos);
    re.setMultiline(flags.find(u'm') != std::u16string::npos);
    try {
        const auto matches = re.execute(text);
        std::string out = "{\"ok\":true,\"m\":[";
        for (std::size_t k = 0; k < matches.size(); ++k) {
            const auto& m = matches[k];
            out += k ? ",{" : "{";
            out.append("\"i\":").append(std::to_string(m.index));
            out.append(",\"v\":").append(json(m.value)).append(",\"s\":[");
            for (std::size_t g = 0; g < m.subMatches.size(); ++g) {
                if (g) out += ",";
                out += m.subMatches[g] ? json(*m.subMatches[g]) : "null";
            }
            out += "]}";
        }
        bool agree = re.count(text) == matches.size();
        std::size_t k = 0;
        re.forEachMatch(text, [&](const lodestar::MatchSpan& span) {
            agree = agree && k < matches.size() && span.index == matches[k].index &&
                    span.length == matches[k].value.size();
            ++k;
        });
        out += "],\"r\":" + json(re.replace(text, field("r")));
        out += agree && k == matches.size() ? ",\"agree\":true" : ",\"agree\":false";
        return out + "}";
    } catch (const lodestar::RegExpError& e) {
        const std::string message = e.what();
        std::string out = "{\"ok\":false,\"e\":";
        out += json(std::u16string(message.begin(), message.end()));
        return out + "}";
    }
}

}  // namespace

int main() {
    std::ios::sync_with_stdio(false);
    std::string line;
    while (std::getline(std::cin, line)) {
        if (line.empty()) continue;
        try {
            std::cout << runCase(LineParser(line).object()) << '\n';
        } catch (const std::exception& e) {
            std::cout << "{\"ok\":false,\"e\":\"probe cannot read the case: " << e.what()
                      << "\"}\n";
        }
    }
    return 0;
}
