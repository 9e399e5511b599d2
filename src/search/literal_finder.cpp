// Choosing each literal's key bytes, and the scan for them at the processor's vector width.
#include "search/literal_finder.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

#if defined(__GNUC__) && !defined(__clang__)
// The scan templates pass wide vectors to one another only inlined into a function compiled for
// that width, so no call crosses the calling convention this warns about.
#pragma GCC diagnostic ignored "-Wpsabi"
#endif
#include "search/literal_scan.h"

namespace lodestar {
namespace {

using literal_scan::keysAt;

constexpr std::size_t kNone = std::string_view::npos;

unsigned char lowerAscii(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c;
}

// How common a byte is in text and source code, higher for more common; the scan keys on the
// two least common bytes of a literal, so it stops at few places that are not a match.
int commonness(unsigned char c) {
    static constexpr std::string_view kByFrequency =
        " etaoinsrhldcum_fpgwybvkxjqz\n\t;,.()=*-/0123456789>\"'{}:#&[]";
    const std::size_t rank = kByFrequency.find(static_cast<char>(lowerAscii(c)));
    if (rank != kNone) return 100 - static_cast<int>(rank) - (c >= 'A' && c <= 'Z' ? 30 : 0);
    return c < 0x80 ? 20 : 0;
}

struct ByteLoop {};  // no vectors: the byte loops alone
#if defined(LODESTAR_BYTE_VECTORS)
using Narrow = byte_vectors::Sse2;
#else
using Narrow = ByteLoop;
#endif

}  // namespace

std::vector<LiteralFinder::Width> LiteralFinder::widths() {
    std::vector<Width> widths = {Width::One};
#if defined(LODESTAR_BYTE_VECTORS)
    widths.push_back(Width::Sixteen);
#endif
#if defined(LODESTAR_AVX2)
    if (byte_vectors::haveAvx2()) widths.push_back(Width::ThirtyTwo);
#endif
    return widths;
}

LiteralFinder::LiteralFinder(const std::vector<std::string>& literals, bool ignoreCase,
                             std::optional<Width> width)
    : ignoreCase_(ignoreCase), width_(width.value_or(widths().back())) {
    for (const std::string& literal : literals) {
        std::string text = literal;
        if (ignoreCase)
            std::transform(text.begin(), text.end(), text.begin(),
                           [](char c) { return static_cast<char>(lowerAscii(c)); });
        const auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
        // The rarest byte, then the rarest other one (a one-byte literal uses its byte twice).
        std::size_t rarest = 0;
        for (std::size_t i = 1; i < text.size(); ++i)
            if (commonness(byteAt(i)) < commonness(byteAt(rarest))) rarest = i;
        std::size_t other = rarest;
        for (std::size_t i = 0; i < text.size(); ++i)
            if (i != rarest &&
                (other == rarest || commonness(byteAt(i)) < commonness(byteAt(other))))
                other = i;
        literal_scan::KeyPair key;
        key.first = std::min(rarest, other);
        key.second = std::max(rarest, other);
        const auto asKey = [&](unsigned char c) {
            return ignoreCase ? static_cast<unsigned char>(c | literal_scan::kCaseBit) : c;
        };
        key.firstKey = asKey(byteAt(key.first));
        key.secondKey = asKey(byteAt(key.second));
        furthestKey_ = std::max(furthestKey_, key.second);
        keys_.push_back(key);
        literals_.push_back(std::move(text));
    }
}

template <bool Fold>
bool LiteralFinder::matchesAt(std::size_t literal, const char* at) const {
    const std::string& text = literals_[literal];
    if (!Fold) return std::memcmp(at, text.data(), text.size()) == 0;
    for (std::size_t k = 0; k < text.size(); ++k)
        if (lowerAscii(static_cast<unsigned char>(at[k])) != static_cast<unsigned char>(text[k]))
            return false;
    return true;
}

// Inlined into the function for each vector width, so that its vector code is compiled for it.
template <class Vec, bool Fold>
[[gnu::always_inline]] inline std::optional<LiteralFinder::Hit> LiteralFinder::scan(
    std::string_view bytes, std::size_t from) const {
    [[maybe_unused]] constexpr bool kVectors = !std::is_same_v<Vec, ByteLoop>;
    const char* const data = bytes.data();
    const std::size_t size = bytes.size();
    std::size_t at = from;
    if (literals_.size() == 1) {
        const std::size_t n = literals_.front().size();
        if (from > size || size - from < n) return std::nullopt;
        const std::size_t end = size - n + 1;  // past the last place a match can start
        const auto check = [&](std::size_t at) { return matchesAt<Fold>(0, data + at); };
#if defined(LODESTAR_BYTE_VECTORS)
        if constexpr (kVectors)
            if (const std::size_t found =
                    literal_scan::scanOne<Vec, Fold>(data, at, end, keys_.front(), check);
                found != end)
                return Hit{found, n};
#endif
        for (; at < end; ++at)
            if (keysAt<Fold>(data + at, keys_.front()) && check(at)) return Hit{at, n};
        return std::nullopt;
    }
    std::size_t which = 0;
    // Tries the literals in their order at `at`: the first that is there is the match.
    const auto check = [&](std::size_t at) {
        for (std::size_t i = 0; i < literals_.size(); ++i)
            if (literals_[i].size() <= size - at && keysAt<Fold>(data + at, keys_[i]) &&
                matchesAt<Fold>(i, data + at)) {
                which = i;
                return true;
            }
        return false;
    };
#if defined(LODESTAR_BYTE_VECTORS)
    // Every key byte of a start place before it lies inside the bytes.
    if constexpr (kVectors) {
        const std::size_t vectorEnd = size > furthestKey_ ? size - furthestKey_ : 0;
        if (at < vectorEnd)
            if (const std::size_t found = literal_scan::scanMany<Vec, Fold>(
                    data, at, vectorEnd, keys_.data(), keys_.size(), check);
                found != vectorEnd)
                return Hit{found, literals_[which].size()};
    }
#endif
    for (; at < size; ++at)
        if (check(at)) return Hit{at, literals_[which].size()};
    return std::nullopt;
}

template <bool Fold>
#if defined(LODESTAR_AVX2)
[[gnu::target("avx2")]]
#endif
std::optional<LiteralFinder::Hit>
LiteralFinder::findWide(std::string_view bytes, std::size_t from) const {
#if defined(LODESTAR_AVX2)
    return scan<byte_vectors::Avx2, Fold>(bytes, from);
#else
    return scan<Narrow, Fold>(bytes, from);
#endif
}

std::optional<LiteralFinder::Hit> LiteralFinder::find(std::string_view bytes,
                                                      std::size_t from) const {
    switch (width_) {
        case Width::ThirtyTwo:
            return ignoreCase_ ? findWide<true>(bytes, from) : findWide<false>(bytes, from);
        case Width::Sixteen:
            return ignoreCase_ ? scan<Narrow, true>(bytes, from) : scan<Narrow, false>(bytes, from);
        case Width::One:
            break;
    }
    return ignoreCase_ ? scan<ByteLoop, true>(bytes, from) : scan<ByteLoop, false>(bytes, from);
}

std::size_t LiteralFinder::count(std::string_view bytes, bool global) const {
    std::size_t count = 0;
    std::size_t from = 0;
    while (const auto hit = find(bytes, from)) {
        ++count;
        if (!global) break;
        from = hit->at + hit->length;
    }
    return count;
}

bool LiteralFinder::any(std::string_view bytes) const {
    return find(bytes, 0).has_value();
}

bool LiteralFinder::holds(char byte) const {
    return std::any_of(literals_.begin(), literals_.end(), [&](const std::string& literal) {
        return literal.find(byte) != std::string::npos;
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
