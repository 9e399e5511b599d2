// The decoder's common cases are plain loops that vectorise: a block of ASCII is widened, a
// Windows-1252 chunk goes through the code page's widening decoder; UTF-8 sequences of two or
// more bytes take the byte-by-byte road.
#include "files/text_decoder.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

#include "core/text.h"
#include "files/codepage.h"

namespace lodestar {

namespace {

constexpr unsigned char kUtf8Mark[] = {0xEF, 0xBB, 0xBF};
// The first bytes of a file searched for an HTML or XML declaration.
constexpr std::size_t kHeadBytes = 1024;

void putCodePoint(char32_t codePoint, char16_t* text, std::size_t& filled) {
    if (codePoint < 0x10000) {
        text[filled++] = static_cast<char16_t>(codePoint);
        return;
    }
    codePoint -= 0x10000;
    text[filled++] = static_cast<char16_t>(0xD800 + (codePoint >> 10));
    text[filled++] = static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF));
}

// An HTML or XML declaration naming Windows-1252 or Latin-1: charset=... or encoding="...".
bool declaresWindows1252(std::string_view head) {
    std::string lower(head);
    for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    for (std::string_view key : {"charset", "encoding"}) {
        for (auto at = lower.find(key); at != std::string::npos; at = lower.find(key, at + 1)) {
            std::size_t i = at + key.size();
            while (i < lower.size() &&
                   (lower[i] == ' ' || lower[i] == '=' || lower[i] == '"' || lower[i] == '\''))
                ++i;
            const std::string_view name = std::string_view(lower).substr(i);
            for (std::string_view known : {"windows-1252", "iso-8859-1", "cp1252", "latin1"})
                if (name.substr(0, known.size()) == known) return true;
        }
    }
    return false;
}

}  // namespace

Utf8Sequence utf8Sequence(const unsigned char* p, std::size_t available) {
    const unsigned char lead = p[0];
    std::size_t need = 0;
    unsigned char low = 0x80, high = 0xBF;
    char32_t codePoint = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        need = 2;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 3;
        codePoint = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;   // overlong
        if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 4;
        codePoint = lead & 0x07;
        if (lead == 0xF0) low = 0x90;   // overlong
        if (lead == 0xF4) high = 0x8F;  // beyond U+10FFFF
    } else {
        return {};
    }
    for (std::size_t k = 1; k < need; ++k) {
        if (k >= available) return {0, 0, true};
        if (p[k] < low || p[k] > high) return {};
        low = 0x80;
        high = 0xBF;
        codePoint = (codePoint << 6) | (p[k] & 0x3F);
    }
    return {need, codePoint, false};
}

TextDecoder::TextDecoder(const TextReading& reading) : reading_(reading) {}

void TextDecoder::noteHead(const unsigned char* in, std::size_t count) {
    if (reading_.fixed || head_.size() >= kHeadBytes) return;
    head_.append(reinterpret_cast<const char*>(in), std::min(count, kHeadBytes - head_.size()));
}

void TextDecoder::feed(const unsigned char* in, std::size_t count, char16_t* text,
                       std::size_t& filled) {
    noteHead(in, count);
    if (mode_ == Mode::Start) {
        // Three bytes decide whether a byte-order mark starts the file.
        while (count > 0 && heldCount_ < 3) {
            held_[heldCount_++] = *in++;
            --count;
        }
        if (heldCount_ < 3) return;
        begin(text, filled);
    }
    consume(in, count, text, filled, false);
}

void TextDecoder::finish(char16_t* text, std::size_t& filled) {
    if (mode_ == Mode::Start) begin(text, filled);
    if (mode_ == Mode::Utf8 && heldCount_ > 0) consume(nullptr, 0, text, filled, true);
    if ((mode_ == Mode::Utf16LE || mode_ == Mode::Utf16BE) && heldCount_ > 0) {
        format_.strayByte.assign(1, static_cast<char>(held_[0]));
        heldCount_ = 0;
    }
    // An ASCII page that declares Windows-1252 keeps it: characters added later are written so.
    if (!reading_.fixed && mode_ == Mode::Utf8 && !format_.byteOrderMark && !nonAscii_ &&
        declaresWindows1252(head_)) {
        mode_ = Mode::Windows1252;
        format_ = TextFormat{};
    }
}

void TextDecoder::begin(char16_t* text, std::size_t& filled) {
    const auto startsWith = [&](std::initializer_list<unsigned char> mark) {
        return heldCount_ >= mark.size() && std::equal(mark.begin(), mark.end(), held_);
    };
    const bool utf8Mark = startsWith({0xEF, 0xBB, 0xBF});
    const bool leMark = startsWith({0xFF, 0xFE});
    const bool beMark = startsWith({0xFE, 0xFF});
    TextEncoding encoding = TextEncoding::Utf8;
    if (reading_.fixed)
        encoding = *reading_.fixed;
    else if (leMark)
        encoding = TextEncoding::Utf16LE;
    else if (beMark)
        encoding = TextEncoding::Utf16BE;
    std::size_t markSize = 0;
    switch (encoding) {
        case TextEncoding::Utf8:
            mode_ = Mode::Utf8;
            markSize = utf8Mark ? 3 : 0;
            break;
        case TextEncoding::Utf16LE:
            mode_ = Mode::Utf16LE;
            markSize = leMark ? 2 : 0;
            break;
        case TextEncoding::Utf16BE:
            mode_ = Mode::Utf16BE;
            markSize = beMark ? 2 : 0;
            break;
        case TextEncoding::Windows1252:
            mode_ = Mode::Windows1252;
            break;
    }
    format_.encoding = encoding;
    format_.byteOrderMark = markSize > 0;
    // The bytes after the mark move out of the held bytes, which the encoding uses itself.
    const std::size_t restCount = heldCount_ - markSize;
    std::memcpy(start_, held_ + markSize, restCount);
    heldCount_ = 0;
    consume(start_, restCount, text, filled, false);
}

void TextDecoder::consume(const unsigned char* in, std::size_t count, char16_t* text,
                          std::size_t& filled, bool last) {
    // A NUL byte makes the file binary unless a UTF-16 mark named its encoding; a binary file
    // reads as Windows-1252 text. (A search of its own costs less than counting NUL bytes in
    // the decoding loops.)
    if (!reading_.fixed && !binary_ && count > 0 && mode_ != Mode::Utf16LE &&
        mode_ != Mode::Utf16BE && std::memchr(in, 0, count) != nullptr) {
        binary_ = true;
        if (mode_ == Mode::Utf8) fallBackToWindows1252(text, filled);
    }
    switch (mode_) {
        case Mode::Utf8: {
            std::size_t used = heldCount_ > 0 ? resumeUtf8(in, count, text, filled, last) : 0;
            if (mode_ == Mode::Utf8) used += feedUtf8(in + used, count - used, text, filled, last);
            // Invalid UTF-8 turned the file to Windows-1252: the rest is read so.
            if (mode_ == Mode::Windows1252) feedWindows1252(in + used, count - used, text, filled);
            break;
        }
        case Mode::Windows1252:
            feedWindows1252(in, count, text, filled);
            break;
        case Mode::Utf16LE:
        case Mode::Utf16BE:
            feedUtf16(in, count, text, filled);
            break;
        case Mode::Start:
            break;
    }
}

std::size_t TextDecoder::feedUtf8(const unsigned char* in, std::size_t count, char16_t* text,
                                  std::size_t& filled, bool last) {
    constexpr std::size_t kBlock = 256;
    std::size_t i = 0;
    while (i < count) {
        const std::size_t end = std::min(count, i + kBlock);
        unsigned char high = 0;
        for (std::size_t j = i; j < end; ++j) high |= in[j];
        if (high < 0x80) {
            char16_t* out = text + filled;
            for (std::size_t j = i; j < end; ++j) out[j - i] = in[j];
            filled += end - i;
            i = end;
            continue;
        }
        while (i < end) {
            if (in[i] < 0x80) {
                text[filled++] = in[i++];
                continue;
            }
            const Utf8Sequence sequence = utf8Sequence(in + i, count - i);
            if (sequence.incomplete && !last) {
                heldCount_ = count - i;
                std::memcpy(held_, in + i, heldCount_);
                return count;
            }
            if (sequence.length == 0) {
                if (!reading_.fixed) {
                    fallBackToWindows1252(text, filled);
                    return i;
                }
                escapeInvalid(in[i++], text, filled);
                continue;
            }
            putCodePoint(sequence.codePoint, text, filled);
            nonAscii_ = true;
            i += sequence.length;
        }
    }
    return count;
}

std::size_t TextDecoder::resumeUtf8(const unsigned char* in, std::size_t count, char16_t* text,
                                    std::size_t& filled, bool last) {
    unsigned char joined[8];
    std::memcpy(joined, held_, heldCount_);
    const std::size_t taken = std::min(count, 4 - heldCount_);
    if (taken > 0) std::memcpy(joined + heldCount_, in, taken);
    const Utf8Sequence sequence = utf8Sequence(joined, heldCount_ + taken);
    if (sequence.incomplete && !last) {  // still unfinished: every new byte is held too
        std::memcpy(held_ + heldCount_, in, taken);
        heldCount_ += taken;
        return taken;
    }
    if (sequence.length == 0) {
        if (!reading_.fixed) {
            fallBackToWindows1252(text, filled);
        } else {
            // The held bytes after the first are continuation bytes, each invalid alone.
            for (std::size_t k = 0; k < heldCount_; ++k) escapeInvalid(held_[k], text, filled);
            heldCount_ = 0;
        }
        return 0;
    }
    putCodePoint(sequence.codePoint, text, filled);
    nonAscii_ = true;
    const std::size_t used = sequence.length - heldCount_;
    heldCount_ = 0;
    return used;
}

void TextDecoder::feedWindows1252(const unsigned char* in, std::size_t count, char16_t* text,
                                  std::size_t& filled) {
    decodeWindows1252Into(in, count, text + filled);
    filled += count;
}

void TextDecoder::feedUtf16(const unsigned char* in, std::size_t count, char16_t* text,
                            std::size_t& filled) {
    const bool little = mode_ == Mode::Utf16LE;
    const auto unit = [little](unsigned char first, unsigned char second) {
        return static_cast<char16_t>(little ? first | (second << 8) : (first << 8) | second);
    };
    std::size_t i = 0;
    if (heldCount_ > 0 && count > 0) {
        text[filled++] = unit(held_[0], in[0]);
        heldCount_ = 0;
        i = 1;
    }
    char16_t* out = text + filled;
    const std::size_t pairs = (count - i) / 2;
    for (std::size_t k = 0; k < pairs; ++k) out[k] = unit(in[i + 2 * k], in[i + 2 * k + 1]);
    filled += pairs;
    i += 2 * pairs;
    if (i < count) {
        held_[0] = in[i];
        heldCount_ = 1;
    }
}

// The text so far was read as UTF-8 (all of it valid); its bytes are made again from it and
// read as Windows-1252, with the byte-order mark, if any, as text now.
void TextDecoder::fallBackToWindows1252(char16_t* text, std::size_t& filled) {
    std::string bytes;
    if (format_.byteOrderMark) bytes.assign(reinterpret_cast<const char*>(kUtf8Mark), 3);
    if (nonAscii_ || format_.byteOrderMark) {
        bytes += toUtf8(std::u16string_view(text, filled));
        filled = 0;
    }
    bytes.append(reinterpret_cast<const char*>(held_), heldCount_);
    heldCount_ = 0;
    mode_ = Mode::Windows1252;
    format_ = TextFormat{};
    feedWindows1252(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), text,
                    filled);
}

// A byte that is no part of valid UTF-8, in a file read as UTF-8 on purpose: kept as a lone
// low surrogate (U+DC80..U+DCFF), which valid UTF-8 never gives, and written back as the byte.
void TextDecoder::escapeInvalid(unsigned char byte, char16_t* text, std::size_t& filled) {
    text[filled++] = static_cast<char16_t>(0xDC00 + byte);
}

}  // namespace lodestar
