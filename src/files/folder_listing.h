// The files of one folder that match a file-type filter, as the folder picker and the
// restore of a backup folder list them. Includes the wildcard rules and the single-file
// operations that loops over such a list need.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "files/file_ops.h"
#include "files/wildcard.h"

namespace lodestar {

// Full paths (the folder, "/", the name) of the files directly in the folder whose names match
// any pattern of the ";"-separated list. Only regular files (a link to one counts); no
// subfolders, no hidden files (names starting with "."). A name that is not UTF-8 is listed with
// its bytes kept (fromUtf8), so it can be opened by its wide path. Ordered by name without regard
// to case (see `fileNameLess`). Throws FileError when the folder cannot be read.
std::vector<std::u16string> listFolder(const std::u16string& folder,
                                       std::u16string_view patternList);

// What one folder holds, unsorted: the names of its regular files (a link to one counts) and of
// its real subfolders (a symbolic link to a folder is neither). Hidden names are left out.
// Throws FileError when the folder cannot be read.
struct FolderEntries {
    std::vector<std::u16string> files;
    std::vector<std::u16string> folders;
};
FolderEntries readFolderEntries(const std::u16string& folder);

// The listing order: names compared code unit by code unit with letters folded to lower case;
// names that differ only in case are ordered by their code units, upper case first.
bool fileNameLess(std::u16string_view a, std::u16string_view b);

}  // namespace lodestar
