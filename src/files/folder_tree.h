// The files a folder run works on: the chosen folder's own files, or with subfolders the whole
// tree under it, less what the user excludes and what the program must never touch.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/folder_listing.h"

namespace lodestar {

// The journal a folder run keeps in its backup folder (hidden, so listings pass it by).
inline constexpr std::u16string_view kRunJournalName = u".lodestar-journal";

struct TreeRules {
    bool subfolders = false;
    // Globs on paths relative to the chosen folder (see excludedByGlobs).
    std::vector<std::u16string> exclude;
    // The backup folder's name directly under the chosen folder (empty: "bak"): never walked.
    std::u16string backupFolderName;
    // 0: the whole tree. Otherwise no further subfolder is read once this many entries have
    // been read (a preview that never holds the window up); the folder's own files all count.
    std::size_t limit = 0;
    // With subfolders: told the count of files listed so far after each folder is read;
    // answering false ends the walk there (the listing is then not complete).
    std::function<bool(std::size_t filesListed)> progress = nullptr;
};

struct TreeListing {
    std::vector<std::u16string> files;  // full paths, in walking order
    std::vector<std::u16string> notes;  // log lines for the folders that were passed
    bool complete = true;               // false when the limit cut the walk short
};

// Without subfolders: the folder's own files as listFolder lists them, less the excluded ones.
// With subfolders: the folder's own files, then each subfolder's tree in turn, subfolders and
// files each in listFolder's name order. File-type patterns match file names at every level.
// Hidden files and folders are passed by, as are symbolic links to folders (the walk never
// leaves the tree nor loops), the backup folder, and any folder that holds another run's
// journal (the backup folder of a run in a subfolder). A subfolder that cannot be read is
// passed with a note. Throws FileError when the chosen folder itself cannot be read.
TreeListing listTree(const std::u16string& folder, std::u16string_view patternList,
                     const TreeRules& rules);

// The walk of listTree taken one folder at a time, so a run can read the first files while the
// rest of the tree is still being listed.
class TreeWalk {
  public:
    // Reads the chosen folder; throws FileError when it cannot be read.
    TreeWalk(const std::u16string& folder, std::u16string_view patternList, TreeRules rules);
    // Appends the files of the next folder walked (maybe none) to `files`, and the notes of the
    // folders passed on the way to `notes`; false when the walk is over and nothing was added.
    bool next(std::vector<std::u16string>& files, std::vector<std::u16string>& notes);
    // False when the limit cut the walk short.
    bool complete() const { return complete_; }

  private:
    // A folder whose files were given, with its subfolders still to walk.
    struct Open {
        std::u16string relative;  // empty or ending in "/"
        std::vector<std::u16string> folders;
        std::size_t next = 0;
    };
    void give(const std::u16string& relative, FolderEntries& entries,
              std::vector<std::u16string>& files);
    std::u16string backupName() const;

    std::u16string root_;
    std::u16string patterns_;
    TreeRules rules_;
    std::vector<Open> open_;
    std::optional<FolderEntries> first_;
    std::size_t read_ = 0;
    bool complete_ = true;
};

// The path relative to the folder (ending in "/") when it lies in it; else the path itself.
std::u16string relativeToFolder(std::u16string_view folder, std::u16string_view path);

}  // namespace lodestar
