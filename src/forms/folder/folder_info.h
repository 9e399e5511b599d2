// The line folder mode shows above its file table: the folder, the file type that listed its
// files and how many are listed and ticked, so the user sees what a run will work on.
#pragma once

#include <cstddef>
#include <string>

namespace lodestar {

inline constexpr char16_t kFolderInfoId[] = u"folderInfo";

// "/home/ann/site/   Type: *.htm;*.html   12 files (11 ticked)"; the type "*.*" reads
// "All files", one file "1 file (1 ticked)".
std::u16string folderInfoText(const std::u16string& folder, const std::u16string& type,
                              std::size_t files, std::size_t ticked);

// The element that holds the line, as the file table's page shows it.
std::u16string folderInfoHtml(const std::u16string& text);

}  // namespace lodestar
