// Counting a pattern's matches straight in a file's bytes, without widening them to text. The
// count is the one the decoded text gives whenever decoding turns each byte into one character
// that means the same to the pattern: always for bytes under 0x80 (ASCII), and for the other
// bytes of a Windows-1252 file when the pattern names no character beyond ASCII and ignores no
// case. The callers tell which kind of bytes they hold.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

struct pcre2_real_code_8;

namespace lodestar {

enum class ByteText {
    Ascii,        // every byte under 0x80: each is its own character in every 8-bit reading
    Windows1252,  // read as Windows-1252: one character per byte
    Other,        // anything else (UTF-16, UTF-8 beyond ASCII): only the decoded text will do
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
    // The matches in `bytes` as the expression counts them in the decoded text (at most one
    // when `global` is off), or nullopt when a search runs into a limit of the engine: the
    // caller then searches the decoded text, which reports such limits in full.
    std::optional<std::size_t> count(std::string_view bytes, bool global) const;
    // Calls `visit` with the byte offset and length of each match count finds, in order; false
    // when a search runs into a limit of the engine (the matches visited so far stand).
    bool forEachMatch(std::string_view bytes, bool global,
                      const std::function<void(std::size_t, std::size_t)>& visit) const;

  private:
    ByteMatcher() = default;
    pcre2_real_code_8* code_ = nullptr;
    bool jit_ = false;
    bool onlyAscii_ = false;  // fits ASCII bytes only
};

}  // namespace lodestar
