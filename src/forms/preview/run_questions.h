// The questions asked before Replace writes, saying what it will do: "Replace 1,204 matches in 37
// files?". A count not known (no Find counted the files ticked now) is not guessed at.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lodestar {

// 1204 as "1,204".
std::u16string digitGroups(std::size_t n);

// Over `files` ticked files of a folder.
std::u16string folderReplaceQuestion(bool deleting, std::optional<std::size_t> matches,
                                     std::size_t files);
// In the one file named `name`.
std::u16string fileReplaceQuestion(bool deleting, std::optional<std::size_t> matches,
                                   std::u16string_view name);

}  // namespace lodestar
