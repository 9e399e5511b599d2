// File-name patterns as users type them in a file-type filter: "*" any run of characters, "?"
// one character, letters compared without regard to case, several patterns joined by ";".
#pragma once

#include <string_view>

namespace lodestar {

// True when the whole name matches the pattern. "*.*" matches every name, with or without a
// dot in it.
bool matchesWildcard(std::u16string_view name, std::u16string_view pattern);
// True when the name matches any of the ";"-separated patterns (blanks around each pattern are
// ignored). A list without any pattern matches every name, as "*.*" does.
bool matchesPatternList(std::u16string_view name, std::u16string_view patternList);

// The letter in lower case for comparing file names: ASCII and the Windows-1252 letters
// (Latin-1, Š, Œ, Ž, Ÿ); every other character unchanged.
char16_t foldFileNameCase(char16_t c);

}  // namespace lodestar
