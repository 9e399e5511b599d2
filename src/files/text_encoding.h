// The encodings a text file is read and written in, and how a file's own encoding is found: a
// byte-order mark names it; NUL bytes without a UTF-16 mark make the file binary; bytes that are
// valid UTF-8 are UTF-8; anything else is Windows-1252. Every way is byte-exact: a file read and
// written back without a change gets exactly its old bytes.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lodestar {

enum class TextEncoding { Windows1252, Utf8, Utf16LE, Utf16BE };

// How a file's bytes carry its text; kept from the read for the write.
struct TextFormat {
    TextEncoding encoding = TextEncoding::Windows1252;
    bool byteOrderMark = false;
    // The odd last byte of a UTF-16 file, which holds no whole code unit; written back after
    // the text.
    std::string strayByte;
    bool operator==(const TextFormat&) const = default;
};

// How files are read: `fixed` empty detects each file's encoding ("auto"); otherwise every file
// is read in that one encoding (a byte-order mark of that encoding is still kept out of the
// text). `binaryAsText` has the folder loops work on binary files as Windows-1252 text instead
// of skipping them.
struct TextReading {
    std::optional<TextEncoding> fixed;
    bool binaryAsText = false;
};

// A whole file's text and what was found out about its bytes.
struct DecodedText {
    std::u16string text;
    TextFormat format;
    bool binary = false;  // NUL bytes without a UTF-16 byte-order mark (detection only)
};

DecodedText decodeText(std::string_view bytes, const TextReading& reading = {});

// The file's bytes for `text`: the byte-order mark, the encoded text, the stray byte. Throws
// FileError naming the first character the encoding cannot hold; never substitutes.
std::string encodeText(std::u16string_view text, const TextFormat& format);

// The first character (a whole surrogate pair as one) that `encoding` cannot hold, if any.
std::optional<char32_t> unholdableCharacter(std::u16string_view text, TextEncoding encoding);
// The error encodeText throws for that character: "The text holds a character (U+4E2D) that
// cannot be saved in the Windows-1252 code page."
std::string cannotHoldMessage(char32_t codePoint, TextEncoding encoding);

// Windows-1252 when it holds every character of `text`, else UTF-8 (no byte-order mark).
TextFormat formatThatHolds(std::u16string_view text);

// "UTF-8", "UTF-8 with BOM", "UTF-16 LE", "UTF-16 BE", "Windows-1252".
std::u16string encodingLabel(const TextFormat& format);
// The setting's names: "auto" (nullopt), "windows-1252", "utf-8", "utf-16le", "utf-16be"
// (letters in any case; "utf8", "cp1252" and the like are taken too). Answers false for any
// other name.
bool parseEncodingName(std::string_view name, std::optional<TextEncoding>& encoding);
std::string encodingName(std::optional<TextEncoding> encoding);

}  // namespace lodestar
