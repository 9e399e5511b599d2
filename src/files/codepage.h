// The Windows-1252 code page in which the program reads and writes every text file. Both
// directions are byte-exact: the five bytes the code page leaves undefined (81, 8D, 8F, 90, 9D)
// decode to the control characters of the same number, so any file reads and writes back
// unchanged.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "files/file_error.h"

namespace lodestar {

// One UTF-16 code unit per byte.
std::u16string decodeWindows1252(std::string_view bytes);
// The same into `out`, which has room for `count` code units.
void decodeWindows1252Into(const unsigned char* bytes, std::size_t count, char16_t* out);
// One byte per code unit. Throws FileError naming the first character the code page cannot
// hold; never substitutes.
std::string encodeWindows1252(std::u16string_view text);
// "The text holds a character (U+4E2D) that cannot be saved in " + `where` + "."
FileError cannotHold(char32_t codePoint, std::string_view where);
// The first character (a surrogate pair as one) the code page cannot hold, if any.
std::optional<char32_t> firstOutsideWindows1252(std::u16string_view text);

}  // namespace lodestar
