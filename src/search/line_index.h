// The lines of a text, found as far as they are asked for: a search that prints the lines of
// its matches scans a long text only up to its last match.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace lodestar {

// The number of UTF-8 bytes `text` is printed as: a lone surrogate that stands for a byte
// (U+DC80..U+DCFF) is that one byte, any other is U+FFFD.
std::size_t utf8Length(std::u16string_view text);

// Lines end at a line feed; a carriage return before it belongs to the line break.
class LineIndex {
  public:
    explicit LineIndex(std::u16string_view text) : text_(text) {}

    // The 0-based line that holds code unit `position` (the text's end: the last line).
    std::size_t lineOf(std::size_t position);
    // Whether the text has this line (the empty rest after a final line feed is none).
    bool exists(std::size_t line);
    std::size_t start(std::size_t line) { return exists(line) ? starts_[line] : text_.size(); }
    // The line's text without its line break.
    std::u16string_view text(std::size_t line);
    // Where the line's text ends in the text, before its line break.
    std::size_t end(std::size_t line);
    // The UTF-8 bytes of the text before the line.
    std::size_t bytesBefore(std::size_t line);

  private:
    bool extend();  // finds the next line's start; false at the end of the text

    std::u16string_view text_;
    std::vector<std::size_t> starts_{0};
    bool scanned_ = false;
    std::size_t bytesLine_ = 0;  // bytesBefore(bytesLine_) == bytes_
    std::size_t bytes_ = 0;
};

}  // namespace lodestar
