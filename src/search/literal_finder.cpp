// Two-byte candidate scan with SSE2 where the processor has it, a byte loop elsewhere.
#include "search/literal_finder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lodestar {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

bool isLower(unsigned char c) {
    return c >= 'a' && c <= 'z';
}

unsigned char lowerAscii(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c;
}

// How common a byte is in text and source code, higher for more common; the scan keys on the
// two least common bytes of a literal, so it stops at few places that are not a match.
int commonness(unsigned char c) {
    static constexpr std::string_view kByFrequency =
        " etaoinsrhldcumfpgwybvkxjqz_\n\t;,.()=*-/0123456789>\"'{}:#&[]";
    const std::size_t rank = kByFrequency.find(static_cast<char>(lowerAscii(c)));
    if (rank != kNone) return 100 - static_cast<int>(rank) - (c >= 'A' && c <= 'Z' ? 30 : 0);
    return c < 0x80 ? 20 : 0;
}

}  // namespace

LiteralFinder::LiteralFinder(const std::vector<std::string>& literals, bool ignoreCase)
    : ignoreCase_(ignoreCase) {
    for (const std::string& literal : literals) {
        Needle needle;
        needle.text = literal;
        if (ignoreCase)
            std::transform(needle.text.begin(), needle.text.end(), needle.text.begin(),
                           [](char c) { return static_cast<char>(lowerAscii(c)); });
        const auto byteAt = [&](std::size_t i) {
            return static_cast<unsigned char>(needle.text[i]);
        };
        // The rarest byte, then the rarest other one (a one-byte literal uses its byte twice).
        std::size_t rarest = 0;
        for (std::size_t i = 1; i < needle.text.size(); ++i)
            if (commonness(byteAt(i)) < commonness(byteAt(rarest))) rarest = i;
        std::size_t other = rarest;
        for (std::size_t i = 0; i < needle.text.size(); ++i)
            if (i != rarest &&
                (other == rarest || commonness(byteAt(i)) < commonness(byteAt(other))))
                other = i;
        needle.first = std::min(rarest, other);
        needle.second = std::max(rarest, other);
        needle.firstByte = byteAt(needle.first);
        needle.secondByte = byteAt(needle.second);
        needle.foldFirst = ignoreCase && isLower(needle.firstByte);
        needle.foldSecond = ignoreCase && isLower(needle.secondByte);
        needles_.push_back(std::move(needle));
    }
}

bool LiteralFinder::matchesAt(const Needle& needle, const char* at) const {
    if (!ignoreCase_) return std::memcmp(at, needle.text.data(), needle.text.size()) == 0;
    for (std::size_t k = 0; k < needle.text.size(); ++k)
        if (lowerAscii(static_cast<unsigned char>(at[k])) !=
            static_cast<unsigned char>(needle.text[k]))
            return false;
    return true;
}

std::size_t LiteralFinder::findOne(const Needle& needle, std::string_view bytes,
                                   std::size_t from) const {
    const std::size_t n = needle.text.size();
    if (from > bytes.size() || bytes.size() - from < n) return kNone;
    const char* const data = bytes.data();
    const std::size_t last = bytes.size() - n;  // the last place a match can start
    std::size_t at = from;
#if defined(__SSE2__)
    // Thirty-two start places at a time, in two halves: both key bytes in place marks a
    // candidate.
    const __m128i first = _mm_set1_epi8(static_cast<char>(needle.firstByte));
    const __m128i second = _mm_set1_epi8(static_cast<char>(needle.secondByte));
    const __m128i foldFirst = _mm_set1_epi8(needle.foldFirst ? 0x20 : 0);
    const __m128i foldSecond = _mm_set1_epi8(needle.foldSecond ? 0x20 : 0);
    const auto candidates = [&](std::size_t from) {
        const auto* a = reinterpret_cast<const __m128i*>(data + from + needle.first);
        const auto* b = reinterpret_cast<const __m128i*>(data + from + needle.second);
        const __m128i onFirst = _mm_cmpeq_epi8(_mm_or_si128(_mm_loadu_si128(a), foldFirst), first);
        const __m128i onSecond =
            _mm_cmpeq_epi8(_mm_or_si128(_mm_loadu_si128(b), foldSecond), second);
        return static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_and_si128(onFirst, onSecond)));
    };
    const auto verify = [&](std::uint32_t mask, std::size_t from) -> std::size_t {
        for (; mask != 0; mask &= mask - 1) {
            const std::size_t candidate = from + static_cast<std::size_t>(__builtin_ctz(mask));
            if (matchesAt(needle, data + candidate)) return candidate;
        }
        return kNone;
    };
    for (; at + 32 <= last + 1; at += 32) {
        const std::uint32_t mask = candidates(at) | candidates(at + 16) << 16;
        if (mask != 0)
            if (const std::size_t found = verify(mask, at); found != kNone) return found;
    }
    for (; at + 16 <= last + 1; at += 16)
        if (const std::size_t found = verify(candidates(at), at); found != kNone) return found;
#endif
    const auto key = [](unsigned char c, bool fold) {
        return fold ? static_cast<unsigned char>(c | 0x20) : c;
    };
    for (; at <= last; ++at)
        if (key(static_cast<unsigned char>(data[at + needle.first]), needle.foldFirst) ==
                needle.firstByte &&
            key(static_cast<unsigned char>(data[at + needle.second]), needle.foldSecond) ==
                needle.secondByte &&
            matchesAt(needle, data + at))
            return at;
    return kNone;
}

std::optional<LiteralFinder::Hit> LiteralFinder::find(std::string_view bytes,
                                                      std::size_t from) const {
    std::optional<Hit> best;
    for (const Needle& needle : needles_) {
        // A later literal can only win by starting before the best so far.
        const std::string_view before =
            best ? bytes.substr(0, best->at + needle.text.size() - 1) : bytes;
        const std::size_t at = findOne(needle, before, from);
        if (at != kNone && (!best || at < best->at)) best = Hit{at, needle.text.size()};
    }
    return best;
}

std::size_t LiteralFinder::count(std::string_view bytes, bool global) const {
    // Where each literal next occurs; after a match, those that start inside it are looked
    // for again from its end.
    std::array<std::size_t, kMostLiterals> next{};
    const std::size_t k = needles_.size();
    if (k == 0) return 0;
    for (std::size_t i = 0; i < k; ++i) next[i] = findOne(needles_[i], bytes, 0);
    std::size_t count = 0;
    for (;;) {
        std::size_t best = 0;
        for (std::size_t i = 1; i < k; ++i)
            if (next[i] < next[best]) best = i;
        if (next[best] == kNone) return count;
        ++count;
        if (!global) return count;
        const std::size_t end = next[best] + needles_[best].text.size();
        for (std::size_t i = 0; i < k; ++i)
            if (next[i] < end) next[i] = findOne(needles_[i], bytes, end);
    }
}

bool LiteralFinder::any(std::string_view bytes) const {
    return std::any_of(needles_.begin(), needles_.end(),
                       [&](const Needle& needle) { return findOne(needle, bytes, 0) != kNone; });
}

bool LiteralFinder::holds(char byte) const {
    return std::any_of(needles_.begin(), needles_.end(), [&](const Needle& needle) {
        return needle.text.find(byte) != std::string::npos;
    });
}

namespace {

// The UTF-8 of a code point within U+FFFF.
void appendUtf8(std::string& out, unsigned long c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::optional<std::vector<std::string>> plainLiterals(std::string_view p, bool utf8) {
    std::vector<std::string> literals(1);
    for (std::size_t i = 0; i < p.size(); ++i) {
        const char c = p[i];
        const bool alnum =
            (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (alnum) {
            literals.back() += c;
        } else if (c == '|') {
            if (literals.back().empty()) return std::nullopt;
            literals.emplace_back();
        } else if (c == '\\' && p.substr(i + 1).starts_with("x{")) {
            // \x{HEX}: a character by its number; beyond ASCII only as UTF-8.
            const std::size_t close = p.find('}', i);
            if (close == std::string_view::npos || close - i > 8) return std::nullopt;
            unsigned long value = 0;
            for (std::size_t k = i + 3; k < close; ++k) {
                const char h = p[k];
                const int digit = h >= '0' && h <= '9'   ? h - '0'
                                  : h >= 'a' && h <= 'f' ? h - 'a' + 10
                                  : h >= 'A' && h <= 'F' ? h - 'A' + 10
                                                         : -1;
                if (digit < 0) return std::nullopt;
                value = value * 16 + static_cast<unsigned long>(digit);
            }
            if (close == i + 3 || (value >= 0x80 && !utf8) || value > 0xFFFF ||
                (value >= 0xD800 && value <= 0xDFFF))
                return std::nullopt;
            appendUtf8(literals.back(), value);
            i = close;
        } else if (c == '\\' && i + 1 < p.size()) {
            const char escaped = p[++i];
            const bool punctuation =
                escaped >= 0x20 && escaped < 0x7F &&
                !((escaped >= '0' && escaped <= '9') || (escaped >= 'a' && escaped <= 'z') ||
                  (escaped >= 'A' && escaped <= 'Z'));
            if (!punctuation) return std::nullopt;
            literals.back() += escaped;
        } else {
            return std::nullopt;
        }
    }
    if (literals.back().empty() || literals.size() > LiteralFinder::kMostLiterals)
        return std::nullopt;
    return literals;
}

}  // namespace lodestar
