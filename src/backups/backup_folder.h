// Which folder a run keeps its backups in. The program knows its backup folder by the journal it
// keeps there, never by the folder's name: a folder of that name that the user made is never
// written into, and the run takes the next free name ("bak-2", "bak-3", ...) instead.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lodestar {

struct BackupFolderChoice {
    std::u16string path;   // ending in "/"
    std::u16string name;   // the folder's own name under the chosen folder
    bool renamed = false;  // the asked-for name was taken by a folder the program did not make
};

// The backup folder of a run in `currentFolder` for the backup folder name `name` (empty:
// "bak"): the first of name, name-2, name-3, ... that holds the program's journal, is empty or
// does not exist. Throws BackupError for a refused name or folder and when a link stands in the
// way (see refuseLinkedBackupFolder).
BackupFolderChoice backupFolderForRun(std::u16string_view currentFolder, std::u16string_view name);

// The backup folder a restore takes its backups from: the first of the same names that holds
// the program's journal; nullopt when none does. Throws BackupError as backupFolderForRun does.
std::optional<BackupFolderChoice> backupFolderOfRuns(std::u16string_view currentFolder,
                                                     std::u16string_view name);

// The name of the folder a walk of `currentFolder` passes as the backup folder: the one that
// holds the runs' journal, else the one the next run would take. A user's folder that only
// shares the asked-for name is walked like any other. The asked-for name when the folder
// cannot be looked at.
std::u16string walkedPastBackupName(std::u16string_view currentFolder, std::u16string_view name);

// True when the folder holds nothing, or only temporary files of the program (a run killed as
// it began): it is taken as the backup folder, as an empty one is.
bool holdsNothingOfTheUser(const std::u16string& folder);

// The log line of a run whose backups go to another name than the one asked for.
std::u16string renamedBackupFolderNote(std::u16string_view currentFolder, std::u16string_view name,
                                       const BackupFolderChoice& choice);

}  // namespace lodestar
