// Paths the user typed made absolute before any engine sees them: against the current folder,
// with "." and ".." taken away by the text alone, so a symbolic link in the user's path stays
// the name the user gave.
#pragma once

#include <string>
#include <string_view>

namespace lodestar {

// The path with the current folder put in front when it is relative, then normalized by its
// text: repeated "/" become one, "." parts go, ".." takes away the part before it (never past
// the root). A trailing "/" stays; an empty path stays empty. Symbolic links are not resolved.
std::u16string absolutePath(std::u16string_view path);
// The same against the given absolute folder instead of the current one.
std::u16string absolutePath(std::u16string_view path, std::u16string_view base);

}  // namespace lodestar
