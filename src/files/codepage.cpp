// Windows-1252 by table lookup: a 256-entry table decodes, a 64 K-entry reverse table encodes.
#include "files/codepage.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace lodestar {
namespace {

// Bytes 80..9F; the rest of the code page equals Latin-1. The undefined bytes map to the C1
// control of the same number.
constexpr char16_t kBytes80To9F[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80..87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88..8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90..97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98..9F
};

constexpr std::array<char16_t, 256> makeDecodeTable() {
    std::array<char16_t, 256> table{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        table[byte] =
            byte >= 0x80 && byte <= 0x9F ? kBytes80To9F[byte - 0x80] : static_cast<char16_t>(byte);
    }
    return table;
}

constexpr std::array<char16_t, 256> kDecode = makeDecodeTable();
constexpr std::string_view kCodePageName = "the Windows-1252 code page";

// Byte of each code unit the code page holds; 0 for the rest (U+0000 itself is checked apart).
constexpr std::array<unsigned char, 65536> makeEncodeTable() {
    std::array<unsigned char, 65536> table{};
    for (unsigned byte = 0; byte < 256; ++byte)
        table[kDecode[byte]] = static_cast<unsigned char>(byte);
    return table;
}

constexpr std::array<unsigned char, 65536> kEncode = makeEncodeTable();

// The character at `index` as a code point: a whole surrogate pair when one starts there.
char32_t codePointAt(std::u16string_view text, std::size_t index) {
    char32_t unit = text[index];
    if (unit >= 0xD800 && unit <= 0xDBFF && index + 1 < text.size() && text[index + 1] >= 0xDC00 &&
        text[index + 1] <= 0xDFFF) {
        return 0x10000 + ((unit - 0xD800) << 10) + (text[index + 1] - 0xDC00);
    }
    return unit;
}

}  // namespace

FileError cannotHold(char32_t codePoint, std::string_view where) {
    char number[16];
    std::snprintf(number, sizeof number, "U+%04X", static_cast<unsigned>(codePoint));
    return FileError(std::string("The text holds a character (") + number +
                     ") that cannot be saved in " + std::string(where) + ".");
}

void decodeWindows1252Into(const unsigned char* in, std::size_t count, char16_t* out) {
    // Widening every byte vectorises, a table lookup does not; blocks holding one of the rare
    // bytes 80..9F are then corrected, found by a count that vectorises too.
    for (std::size_t i = 0; i < count; ++i) out[i] = in[i];
    constexpr std::size_t kBlock = 256;
    for (std::size_t start = 0; start < count; start += kBlock) {
        const std::size_t end = std::min(count, start + kBlock);
        unsigned hits = 0;
        for (std::size_t i = start; i < end; ++i)
            hits += static_cast<unsigned char>(in[i] - 0x80) < 32 ? 1u : 0u;
        if (hits == 0) continue;
        for (std::size_t i = start; i < end; ++i)
            if (static_cast<unsigned char>(in[i] - 0x80) < 32) out[i] = kBytes80To9F[in[i] - 0x80];
    }
}

std::u16string decodeWindows1252(std::string_view bytes) {
    std::u16string text(bytes.size(), u'\0');
    decodeWindows1252Into(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                          text.data());
    return text;
}

std::string encodeWindows1252(std::u16string_view text) {
    std::string bytes(text.size(), '\0');
    // Blocks of plain ASCII, by far the most common, are narrowed in a loop that vectorises;
    // a block holding anything else goes through the table.
    constexpr std::size_t kBlock = 256;
    for (std::size_t start = 0; start < text.size(); start += kBlock) {
        const std::size_t end = std::min(text.size(), start + kBlock);
        char16_t high = 0;
        for (std::size_t i = start; i < end; ++i) high |= text[i];
        if (high < 0x80) {
            for (std::size_t i = start; i < end; ++i) bytes[i] = static_cast<char>(text[i]);
            continue;
        }
        for (std::size_t i = start; i < end; ++i) {
            unsigned char byte = kEncode[text[i]];
            if (byte == 0 && text[i] != 0) throw cannotHold(codePointAt(text, i), kCodePageName);
            bytes[i] = static_cast<char>(byte);
        }
    }
    return bytes;
}

std::optional<char32_t> firstOutsideWindows1252(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] >= 0x80 && kEncode[text[i]] == 0) return codePointAt(text, i);
    return std::nullopt;
}

}  // namespace lodestar
