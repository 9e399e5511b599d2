// What a PATH operand names: one file (single-file mode) or the files of a folder, as the path
// box of the desktop program reads it ("folder", "folder/*.ext" or a file).
#pragma once

#include <string>
#include <vector>

#include "files/file_sink.h"
#include "files/folder_tree.h"

namespace lodestar::cli {

struct Target {
    bool singleFile = false;
    std::u16string folder;        // the chosen folder, ending in "/" (empty for a single file)
    std::vector<FileItem> files;  // the file itself, or the folder's files in name order
    std::vector<std::u16string> notes;  // the subfolders the walk passed, and why
};

// What a PATH operand names, before any folder is listed: the file itself, or the folder (ending
// in "/") and the file patterns its files are listed by.
struct TargetPlace {
    bool singleFile = false;
    std::u16string path;  // absolute
    std::u16string folder;
    std::u16string patterns;
};

// Throws lodestar::Error "Can't find the path" when the text names neither a file nor a folder.
TargetPlace placeOf(const std::string& path, const std::string& filter);

// A relative path is made absolute against the current folder first (absolutePath), so every
// file and folder of the target is absolute.
// Throws lodestar::Error "Can't find the path" when the text names neither a file nor a folder.
// `filter` is the folder's pattern list unless the path itself ends in "/*.ext"; `rules` say
// whether subfolders are walked and what is left out.
Target resolveTarget(const std::string& path, const std::string& filter,
                     const TreeRules& rules = {});

}  // namespace lodestar::cli
