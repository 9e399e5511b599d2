// Whole texts decoded and encoded in a file's own encoding.
#include "files/text_encoding.h"

#include "files/codepage.h"
#include "files/file_error.h"
#include "files/text_decoder.h"

namespace lodestar {

namespace {

bool isHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}
// A lone low surrogate that stands for a byte of a file read as UTF-8 that was no valid UTF-8.
bool isEscapedByte(char16_t unit) {
    return unit >= 0xDC80 && unit <= 0xDCFF;
}

// The index of the first unit UTF-8 cannot hold: a lone surrogate other than an escaped byte.
std::size_t firstOutsideUtf8(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (isHighSurrogate(unit)) {
            if (i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
                ++i;
                continue;
            }
            return i;
        }
        if (isLowSurrogate(unit) && !isEscapedByte(unit)) return i;
    }
    return text.size();
}

void appendUtf8(std::u16string_view text, std::string& bytes) {
    if (const std::size_t bad = firstOutsideUtf8(text); bad < text.size())
        throw cannotHold(text[bad], "UTF-8");
    bytes.reserve(bytes.size() + text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c < 0x80) {
            bytes.push_back(static_cast<char>(c));
        } else if (isEscapedByte(static_cast<char16_t>(c))) {
            bytes.push_back(static_cast<char>(c - 0xDC00));
        } else if (c < 0x800) {
            bytes.push_back(static_cast<char>(0xC0 | (c >> 6)));
            bytes.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (isHighSurrogate(static_cast<char16_t>(c))) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
            bytes.push_back(static_cast<char>(0xF0 | (c >> 18)));
            bytes.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            bytes.push_back(static_cast<char>(0xE0 | (c >> 12)));
            bytes.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            bytes.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
}

void appendUtf16(std::u16string_view text, bool little, std::string& bytes) {
    const std::size_t start = bytes.size();
    bytes.resize(start + 2 * text.size());
    char* out = bytes.data() + start;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto low = static_cast<char>(text[i] & 0xFF);
        const auto high = static_cast<char>(text[i] >> 8);
        out[2 * i] = little ? low : high;
        out[2 * i + 1] = little ? high : low;
    }
}

}  // namespace

DecodedText decodeText(std::string_view bytes, const TextReading& reading) {
    DecodedText decoded;
    decoded.text.resize(bytes.size());
    std::size_t filled = 0;
    TextDecoder decoder(reading);
    decoder.feed(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                 decoded.text.data(), filled);
    decoder.finish(decoded.text.data(), filled);
    decoded.text.resize(filled);
    decoded.format = decoder.format();
    decoded.binary = decoder.binary();
    return decoded;
}

std::string encodeText(std::u16string_view text, const TextFormat& format) {
    std::string bytes;
    switch (format.encoding) {
        case TextEncoding::Windows1252:
            bytes = encodeWindows1252(text);
            break;
        case TextEncoding::Utf8:
            if (format.byteOrderMark) bytes = "\xEF\xBB\xBF";
            appendUtf8(text, bytes);
            break;
        case TextEncoding::Utf16LE:
            if (format.byteOrderMark) bytes = "\xFF\xFE";
            appendUtf16(text, true, bytes);
            break;
        case TextEncoding::Utf16BE:
            if (format.byteOrderMark) bytes = "\xFE\xFF";
            appendUtf16(text, false, bytes);
            break;
    }
    return bytes + format.strayByte;
}

std::optional<char32_t> unholdableCharacter(std::u16string_view text, TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::Windows1252:
            return firstOutsideWindows1252(text);
        case TextEncoding::Utf8:
            if (const std::size_t bad = firstOutsideUtf8(text); bad < text.size()) return text[bad];
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

std::string cannotHoldMessage(char32_t codePoint, TextEncoding encoding) {
    return cannotHold(codePoint, encoding == TextEncoding::Windows1252
                                     ? "the Windows-1252 code page"
                                     : "UTF-8")
        .what();
}

TextFormat formatThatHolds(std::u16string_view text) {
    TextFormat format;
    if (firstOutsideWindows1252(text)) format.encoding = TextEncoding::Utf8;
    return format;
}

std::u16string encodingLabel(const TextFormat& format) {
    switch (format.encoding) {
        case TextEncoding::Utf8:
            return format.byteOrderMark ? u"UTF-8 with BOM" : u"UTF-8";
        case TextEncoding::Utf16LE:
            return u"UTF-16 LE";
        case TextEncoding::Utf16BE:
            return u"UTF-16 BE";
        case TextEncoding::Windows1252:
            break;
    }
    return u"Windows-1252";
}

bool parseEncodingName(std::string_view name, std::optional<TextEncoding>& encoding) {
    std::string lower;
    for (char c : name)
        if (c != '-' && c != '_') lower.push_back(c >= 'A' && c <= 'Z' ? c + 32 : c);
    if (lower == "auto") {
        encoding.reset();
    } else if (lower == "utf8") {
        encoding = TextEncoding::Utf8;
    } else if (lower == "utf16le") {
        encoding = TextEncoding::Utf16LE;
    } else if (lower == "utf16be") {
        encoding = TextEncoding::Utf16BE;
    } else if (lower == "windows1252" || lower == "cp1252") {
        encoding = TextEncoding::Windows1252;
    } else {
        return false;
    }
    return true;
}

std::string encodingName(std::optional<TextEncoding> encoding) {
    if (!encoding) return "auto";
    switch (*encoding) {
        case TextEncoding::Utf8:
            return "utf-8";
        case TextEncoding::Utf16LE:
            return "utf-16le";
        case TextEncoding::Utf16BE:
            return "utf-16be";
        case TextEncoding::Windows1252:
            break;
    }
    return "windows-1252";
}

}  // namespace lodestar
