// find --count over a folder: each file is searched as the walk finds it, so the first counts
// come while the rest of the tree is still being listed and the list is never held whole.
#pragma once

#include <optional>
#include <ostream>
#include <string_view>

#include "files/folder_tree.h"
#include "files/text_encoding.h"
#include "runs/multi_search.h"
#include "search/regexp.h"

namespace lodestar::cli {

// The COUNT<TAB>PATH lines on `out` and the closing log line as SearchAllFiles gives them for
// the whole list; the notes of the folders the walk passes on `err`, each before the first file
// found after it. nullopt when the walk finds no file at all (its notes are printed).
std::optional<SearchSummary> countInFolder(const RegExp& expr, std::u16string_view pattern,
                                           TreeWalk& walk, const TextReading& reading,
                                           std::ostream& out, std::ostream& err);

}  // namespace lodestar::cli
