// Escape decoding of replacement texts, shared by the replace box and the command files.
#pragma once

#include <string>
#include <string_view>

namespace lodestar {

// "\\" becomes one backslash; with escapeSupport on, "\r", "\n" and "\t" become CR, LF and
// TAB. A backslash pair is taken first, so "\\n" is a backslash and an "n". Every other
// character, backslashes included, passes unchanged.
std::u16string decodeEscapes(std::u16string_view text, bool escapeSupport);

}  // namespace lodestar
