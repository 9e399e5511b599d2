// Runs RegExp over cases given one a line on stdin and prints one JSON line per case, for the
// differential test against Node.js (oracle/oracle.mjs). A case is its flags among "gim" (or
// "-"), then pattern, text and replacement in hex (see unhex); the answer is
// {"ok": true, "m": [{"i": index, "v": value, "s": [sub-match or null, ...]}, ...],
//  "r": replaced text, "agree": whether count and forEachMatch agree with execute}
// or {"ok": false, "e": message} when RegExp throws.
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>

#include "search/regexp.h"

namespace {

using lodestar::RegExp;

// A field as the oracle writes it: "=", then four hex digits per UTF-16 code unit.
std::u16string unhex(const std::string& field) {
    if (field.empty() || field[0] != '=' || field.size() % 4 != 1)
        throw std::runtime_error("a field of " + field);
    std::u16string out;
    for (std::size_t i = 1; i < field.size(); i += 4)
        out += static_cast<char16_t>(std::stoul(field.substr(i, 4), nullptr, 16));
    return out;
}

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

std::string runCase(const std::string& line) {
    std::istringstream fields(line);
    std::string flags, pattern, text, replacement;
    fields >> flags >> pattern >> text >> replacement;
    const std::u16string subject = unhex(text);
    RegExp re;
    re.setPattern(unhex(pattern));
    re.setIgnoreCase(flags.find('i') != std::string::npos);
    re.setGlobal(flags.find('g') != std::string::npos);
    re.setMultiline(flags.find('m') != std::string::npos);
    try {
        const auto matches = re.execute(subject);
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
        bool agree = re.count(subject) == matches.size();
        std::size_t k = 0;
        re.forEachMatch(subject, [&](const lodestar::MatchSpan& span) {
            agree = agree && k < matches.size() && span.index == matches[k].index &&
                    span.length == matches[k].value.size();
            ++k;
        });
        out += "],\"r\":" + json(re.replace(subject, unhex(replacement)));
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
            std::cout << runCase(line) << '\n';
        } catch (const std::exception& e) {
            std::cout << "{\"ok\":false,\"e\":\"probe cannot read the case: " << e.what()
                      << "\"}\n";
        }
    }
    return 0;
}
