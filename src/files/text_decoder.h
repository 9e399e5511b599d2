// Decoding a file's bytes as they arrive, a chunk at a time, straight into the caller's text
// buffer, while its encoding is found out: the reader of many large files needs no second copy
// of the bytes.
#pragma once

#include <cstddef>
#include <string>

#include "files/text_encoding.h"

namespace lodestar {

// One UTF-8 sequence at the start of `p`, as Unicode allows it: no overlong form, no surrogate,
// nothing beyond U+10FFFF. Length 0 means invalid at its first byte; `incomplete` that the
// bytes so far are a valid start but more are needed.
struct Utf8Sequence {
    std::size_t length = 0;
    char32_t codePoint = 0;
    bool incomplete = false;
};
Utf8Sequence utf8Sequence(const unsigned char* p, std::size_t available);

class TextDecoder {
  public:
    explicit TextDecoder(const TextReading& reading);

    // Decodes `count` more bytes onto text[0, filled) and advances `filled`. The buffer must
    // have room for as many code units as bytes were fed in all, this feed included (no
    // encoding gives more units than bytes).
    void feed(const unsigned char* bytes, std::size_t count, char16_t* text, std::size_t& filled);
    // Decodes the bytes held back at the end (an unfinished sequence); call once after the
    // last feed.
    void finish(char16_t* text, std::size_t& filled);

    const TextFormat& format() const { return format_; }
    bool binary() const { return binary_; }

  private:
    enum class Mode { Start, Utf8, Windows1252, Utf16LE, Utf16BE };

    void begin(char16_t* text, std::size_t& filled);
    void consume(const unsigned char* in, std::size_t count, char16_t* text, std::size_t& filled,
                 bool last);
    std::size_t feedUtf8(const unsigned char* in, std::size_t count, char16_t* text,
                         std::size_t& filled, bool last);
    std::size_t resumeUtf8(const unsigned char* in, std::size_t count, char16_t* text,
                           std::size_t& filled, bool last);
    void feedWindows1252(const unsigned char* in, std::size_t count, char16_t* text,
                         std::size_t& filled);
    void feedUtf16(const unsigned char* in, std::size_t count, char16_t* text, std::size_t& filled);
    void fallBackToWindows1252(char16_t* text, std::size_t& filled);
    void escapeInvalid(unsigned char byte, char16_t* text, std::size_t& filled);
    void noteHead(const unsigned char* in, std::size_t count);

    TextReading reading_;
    TextFormat format_;
    Mode mode_ = Mode::Start;
    bool binary_ = false;
    bool nonAscii_ = false;  // a UTF-8 sequence of two or more bytes was decoded
    unsigned char held_[4] = {};
    std::size_t heldCount_ = 0;
    unsigned char start_[4] = {};  // the first bytes after a byte-order mark
    std::string head_;             // the first bytes, for the declaration of an HTML or XML file
};

}  // namespace lodestar
