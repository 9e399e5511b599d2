// Where each file's backup lies in the backup folder, and the folders on the way to a backup
// or to a restored file. A run over one folder keeps its backups flat (bak/page.htm); a run over
// a tree mirrors it (bak/sub/dir/page.htm), so files of the same name in different folders
// never share a backup.
#pragma once

#include <string>
#include <string_view>

namespace lodestar {

// The backup's name under the backup folder: the file's path relative to the chosen folder, or
// its own name when it does not lie in that folder.
std::u16string backupNameOf(std::u16string_view currentFolder, std::u16string_view path);

// Where the backup of `path` goes: `backupFolder` + `name` (empty: the file's own name), the
// folders on the way created (see pathWithFolders). A name that is not plain is refused with
// BackupError.
std::u16string backupCopyPath(const std::u16string& backupFolder, std::u16string_view path,
                              std::u16string_view name);

// True when the name is a plain relative path: not empty, no leading "/", no empty, "." or ".."
// component, no NUL. Only such names are backed up or restored, so neither ever leaves its
// folder.
bool isPlainRelativeName(std::u16string_view name);

// `base` (ending in "/") + `name`, after creating the folders of `name` under `base` that are
// missing. A folder on the way that is a symbolic link or not a folder is refused with
// BackupError: nothing is ever written through a link the user did not name.
std::u16string pathWithFolders(const std::u16string& base, std::u16string_view name);

// True when `base` + `name` or a folder on the way to it under `base` is a symbolic link.
bool linkOnTheWay(const std::u16string& base, std::u16string_view name);

// Removes the folders of `name` under `base` that are empty, deepest first.
void removeEmptyFolders(const std::u16string& base, std::u16string_view name);

}  // namespace lodestar
