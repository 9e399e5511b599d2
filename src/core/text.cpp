// Wide-text helpers shared by the engines.
#include "core/text.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lodestar {

namespace {

// Bytes 0x80..0xFF that are not UTF-8 travel as U+DC80..U+DCFF.
constexpr char32_t kEscapedByteBase = 0xDC00;

bool isEscapedByte(char32_t cp) {
    return cp >= kEscapedByteBase + 0x80 && cp <= kEscapedByteBase + 0xFF;
}

void appendHexByte(std::string& out, unsigned byte) {
    constexpr char digits[] = "0123456789ABCDEF";
    out += "\\x";
    out += digits[byte >> 4];
    out += digits[byte & 0xF];
}

// Appends the leading characters of `s` up to `highest` (at most 0x7F), and from `lowest` on, to
// `out` as the bytes they are; answers how many. Paths and most texts are ASCII for long
// stretches: those go eight at a time where SSE2 is there.
std::size_t appendAsciiRun(std::u16string_view s, std::string& out, char16_t lowest,
                           char16_t highest) {
    const std::size_t start = out.size();
    out.resize(start + s.size());
    char* to = out.data() + start;
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i belowLowest = _mm_set1_epi16(static_cast<short>(lowest - 1));
    const __m128i top = _mm_set1_epi16(static_cast<short>(highest));
    const __m128i zero = _mm_setzero_si128();
    for (; i + 8 <= s.size(); i += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s.data() + i));
        // Saturating subtraction leaves zero exactly for the units at or below the bound.
        const __m128i fits = _mm_cmpeq_epi16(_mm_subs_epu16(units, top), zero);
        const __m128i low =
            lowest > 0 ? _mm_cmpeq_epi16(_mm_subs_epu16(units, belowLowest), zero) : zero;
        if (_mm_movemask_epi8(_mm_andnot_si128(low, fits)) != 0xFFFF) break;
        _mm_storel_epi64(reinterpret_cast<__m128i*>(to + i), _mm_packus_epi16(units, units));
    }
#endif
    for (; i < s.size() && s[i] >= lowest && s[i] <= highest; ++i) to[i] = static_cast<char>(s[i]);
    out.resize(start + i);
    return i;
}

}  // namespace

std::u16string fromUtf8(std::string_view s) {
    std::u16string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        char32_t cp = 0;
        std::size_t len = 1;
        if (c < 0x80) {
            cp = c;
        } else if ((c >> 5) == 0x6) {
            len = 2;
        } else if ((c >> 4) == 0xE) {
            len = 3;
        } else if ((c >> 3) == 0x1E) {
            len = 4;
        } else {
            cp = kEscapedByteBase + c;  // a continuation byte or 0xF8..0xFF where none may start
        }
        if (len > 1) {
            bool ok = i + len <= s.size();
            char32_t v = c & (0x7F >> len);
            for (std::size_t k = 1; ok && k < len; ++k) {
                unsigned char cc = static_cast<unsigned char>(s[i + k]);
                ok = (cc & 0xC0) == 0x80;
                v = (v << 6) | (cc & 0x3F);
            }
            static constexpr char32_t minimum[] = {0, 0, 0x80, 0x800, 0x10000};
            if (ok && v >= minimum[len] && v <= 0x10FFFF && (v < 0xD800 || v > 0xDFFF)) {
                cp = v;
            } else {
                len = 1;
                cp = kEscapedByteBase + c;
            }
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += len;
    }
    return out;
}

std::string toUtf8(std::u16string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = appendAsciiRun(s, out, 0, 0x7F); i < s.size(); ++i) {
        char32_t cp = s[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
            s[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        } else if (isEscapedByte(cp)) {
            out.push_back(static_cast<char>(cp - kEscapedByteBase));
            continue;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

std::u16string replacedAll(std::u16string_view text, std::u16string_view from,
                           std::u16string_view to) {
    if (from.empty()) return std::u16string(text);
    std::u16string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    for (;;) {
        std::size_t hit = text.find(from, pos);
        if (hit == std::u16string_view::npos) break;
        out.append(text.substr(pos, hit - pos));
        out.append(to);
        pos = hit + from.size();
    }
    out.append(text.substr(pos));
    return out;
}

void replaceAll(std::u16string& text, std::u16string_view from, std::u16string_view to) {
    if (from.empty() || text.find(from) == std::u16string::npos) return;
    text = replacedAll(text, from, to);
}

std::vector<std::u16string> splitText(std::u16string_view text, std::u16string_view separator) {
    std::vector<std::u16string> parts;
    if (separator.empty()) {
        parts.emplace_back(text);
        return parts;
    }
    std::size_t pos = 0;
    for (;;) {
        std::size_t hit = text.find(separator, pos);
        if (hit == std::u16string_view::npos) break;
        parts.emplace_back(text.substr(pos, hit - pos));
        pos = hit + separator.size();
    }
    parts.emplace_back(text.substr(pos));
    return parts;
}

std::u16string joinText(const std::vector<std::u16string>& parts, std::u16string_view separator) {
    std::u16string out;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) out.append(separator);
        out.append(parts[i]);
    }
    return out;
}

std::u16string trimSpaces(std::u16string_view text) {
    std::size_t first = text.find_first_not_of(u' ');
    if (first == std::u16string_view::npos) return {};
    std::size_t last = text.find_last_not_of(u' ');
    return std::u16string(text.substr(first, last - first + 1));
}

std::string escapeLine(std::u16string_view text) {
    std::string out;
    for (char c : toUtf8(text)) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

std::u16string unescapeLine(std::string_view line) {
    std::string out;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != '\\' || i + 1 == line.size()) {
            out += line[i];
            continue;
        }
        const char next = line[++i];
        out += next == 'n' ? '\n' : next == 'r' ? '\r' : next;
    }
    return fromUtf8(out);
}

std::u16string decimal(long long number) {
    std::string digits = std::to_string(number);
    return std::u16string(digits.begin(), digits.end());
}

std::string displayText(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    // A name of printable ASCII, as nearly every path is, is its own bytes.
    std::size_t plain =
        appendAsciiRun(text, out, 0x20, 0x7E);  // start of the run not yet converted
    auto flush = [&](std::size_t upTo) {
        if (upTo > plain) out += toUtf8(text.substr(plain, upTo - plain));
    };
    for (std::size_t i = plain; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (!isEscapedByte(c) && c >= 0x20 && c != 0x7F) continue;
        flush(i);
        plain = i + 1;
        if (c == u'\n')
            out += "\\n";
        else if (c == u'\r')
            out += "\\r";
        else if (c == u'\t')
            out += "\\t";
        else
            appendHexByte(out, isEscapedByte(c) ? c - kEscapedByteBase : c);
    }
    flush(text.size());
    return out;
}

}  // namespace lodestar
