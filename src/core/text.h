// Small helpers over the program's wide text (UTF-16 code units in std::u16string): conversion
// to and from UTF-8 for paths and terminals, and the whole-text replace, split and join that
// many engines use.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lodestar {

// UTF-8 to UTF-16. Each byte that is not part of valid UTF-8 becomes the lone surrogate
// U+DC80..U+DCFF that stands for it, so file names that are not UTF-8 survive the round trip.
std::u16string fromUtf8(std::string_view utf8);
// UTF-16 to UTF-8. A lone surrogate U+DC80..U+DCFF becomes the byte it stands for again; any
// other lone surrogate becomes U+FFFD.
std::string toUtf8(std::u16string_view text);
// UTF-8 for showing a name on one line: the bytes that are not UTF-8 as \xE9, line breaks and
// other control characters as \n, \r, \t or \x01.
std::string displayText(std::u16string_view text);

// A text as one line of UTF-8 in the program's own files: "\" becomes "\\", a line feed "\n"
// and a carriage return "\r".
std::string escapeLine(std::u16string_view text);
// The reverse of escapeLine; any other character after "\" stands for itself, and a "\" at the
// very end is kept.
std::u16string unescapeLine(std::string_view line);

// Replaces every occurrence of `from` (left to right, non-overlapping) by `to`.
void replaceAll(std::u16string& text, std::u16string_view from, std::u16string_view to);
std::u16string replacedAll(std::u16string_view text, std::u16string_view from,
                           std::u16string_view to);

// Splits at every occurrence of `separator`; n separators give n + 1 parts.
std::vector<std::u16string> splitText(std::u16string_view text, std::u16string_view separator);
std::u16string joinText(const std::vector<std::u16string>& parts, std::u16string_view separator);

// Removes leading and trailing spaces (code 32 only).
std::u16string trimSpaces(std::u16string_view text);

// Decimal digits of a number, without leading zeros or spaces.
std::u16string decimal(long long number);

}  // namespace lodestar
