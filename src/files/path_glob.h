// Exclusion globs on paths relative to a chosen folder, as users write them to leave parts of
// a tree out: "node_modules", "*.min.js", "build/**", "docs/old/".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lodestar {

// True when the whole relative path matches the glob. "?" is one character and "*" any run of
// characters, neither crossing a "/"; "**" is any run, "/" included, and "**/" also stands for
// no folder at all. Letters compare without regard to case, as in the file-type filter.
bool matchesPathGlob(std::u16string_view path, std::u16string_view glob);

// True when one of the globs leaves the entry out. An entry is named by its path relative to
// the chosen folder ("sub/page.htm"). A glob without "/" is matched against the entry's own
// name, at any depth; a glob holding "/" against the whole relative path (a leading "/" is
// dropped). A glob ending in "/" takes only folders, and a folder also counts as its path with
// "/" appended, so "build/**" leaves out the folder build itself. Empty globs are ignored.
bool excludedByGlobs(const std::vector<std::u16string>& globs, std::u16string_view relativePath,
                     bool isFolder);

// The globs of a ";"-separated list as the picker's "Exclude" box holds them, blanks around
// each trimmed and empty ones dropped.
std::vector<std::u16string> splitGlobList(std::u16string_view list);

}  // namespace lodestar
