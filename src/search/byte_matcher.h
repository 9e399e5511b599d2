// Counting a pattern's matches straight in a file's bytes, without widening them to text. The
// count is the one the decoded text gives whenever decoding turns each byte into one character
// that means the same to the pattern: always for bytes under 0x80 (ASCII), and for the other
// bytes of a Windows-1252 file when the pattern names no character beyond ASCII and ignores no
// case (or is plain literals whose letters have no case partner beyond ASCII). UTF-8 whose
// characters are each one code unit of the decoded text is matched as UTF-8, character by
// character, with the decoded text's rules. A pattern of plain literals (colour, red|green|blue) is
// not run through the regular-expression engine at all. The callers tell which kind of bytes they
// hold.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "search/literal_finder.h"

struct pcre2_real_code_8;

namespace lodestar {

enum class ByteText {
    Ascii,        // every byte under 0x80: each is its own character in every 8-bit reading
    Windows1252,  // read as Windows-1252: one character per byte
    Utf8,         // valid UTF-8 beyond ASCII, without a byte-order mark or characters beyond
                  // U+FFFF: one code unit of the decoded text per character
    Other,        // anything else (UTF-16, other UTF-8): only the decoded text will do
};

class ByteMatcher {
  public:
    // The matcher for a pattern of the program's dialect with these switches, or null when the
    // pattern cannot be matched on bytes (it names characters beyond one byte, or does not
    // compile: the decoded text's search then reports why).
    static std::shared_ptr<const ByteMatcher> forPattern(std::u16string_view pattern,
                                                         bool ignoreCase, bool multiline);
    ~ByteMatcher();
    ByteMatcher(const ByteMatcher&) = delete;
    ByteMatcher& operator=(const ByteMatcher&) = delete;

    // Whether counting on bytes of that kind gives the decoded text's count.
    bool fits(ByteText kind) const;
    // Whether bytes of that kind are counted by a scan for the pattern's literals alone: a
    // look for the literals beforehand would only repeat it.
    bool scansLiterals(ByteText kind) const { return literalsFor(kind) != nullptr; }
    // The matches in `bytes` of that kind as the expression counts them in the decoded text (at
    // most one when `global` is off), or nullopt when a search runs into a limit of the engine:
    // the caller then searches the decoded text, which reports such limits in full.
    std::optional<std::size_t> count(std::string_view bytes, bool global,
                                     ByteText kind = ByteText::Ascii) const;
    // Calls `visit` with the byte offset and length of each match count finds, in order; false
    // when a search runs into a limit of the engine (the matches visited so far stand).
    bool forEachMatch(std::string_view bytes, bool global,
                      const std::function<void(std::size_t, std::size_t)>& visit,
                      ByteText kind = ByteText::Ascii) const;

    // The scan for the pattern's literals that counts bytes of that kind, if any does: the same
    // scan for two kinds counts them alike.
    const LiteralFinder* literalsFor(ByteText kind) const;

  private:
    ByteMatcher() = default;
    struct Code {
        pcre2_real_code_8* code = nullptr;
        bool jit = false;
        bool utf = false;
    };
    // The code that matches bytes of that kind; null when only the literals will do.
    const Code* codeFor(ByteText kind) const;
    bool match(const Code& code, std::string_view bytes, bool global, bool checked,
               const std::function<void(std::size_t, std::size_t)>& visit) const;

    Code bytes_;              // each byte a character; absent for patterns beyond one byte
    Code utf8_;               // UTF-8 characters
    bool onlyAscii_ = false;  // bytes_ fits ASCII bytes only
    std::unique_ptr<LiteralFinder> literals_;      // ASCII literals
    bool literalsAnyText_ = false;                 // they match so in UTF-8 and Windows-1252 too
    std::unique_ptr<LiteralFinder> utf8Literals_;  // literals beyond ASCII as UTF-8, with case
};

}  // namespace lodestar
