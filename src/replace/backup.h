// Backups before files change, and putting them back: the sibling backup beside a saved file
// (page.htm -> page.bak) and the backup folder under the chosen folder (folder/bak/name).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "files/file_sink.h"
#include "files/text_encoding.h"

namespace lodestar {

// Refused backup folder names and failed backup or restore steps.
class BackupError : public Error {
  public:
    using Error::Error;
};

// The sibling backup of a file: the file's path up to and including the last "." of its
// name, then "bak" (page.htm -> page.bak). A name without such a dot, or whose only dot
// starts it, gets ".bak" appended (notes -> notes.bak, .profile -> .profile.bak); a file that
// already ends in ".bak" gets a second ".bak", so the backup is never the file itself. The
// backup always lies in the file's own folder.
std::u16string siblingBackupPath(std::u16string_view path);

// Save: writes `text` in `format` as the file's whole new content, first copying the old file
// to its sibling backup (overwriting an older one) when `backup` is on. Read-only files are the
// caller's question: this refuses them with FileError, as it refuses a text the format cannot
// hold and any failed copy or write, and then the file on disk is unchanged.
void saveWithBackup(const std::u16string& path, std::u16string_view text, bool backup,
                    const TextFormat& format = {});

// Single-file restore of a saved file: the sibling backup replaces the file in one atomic
// rename and is consumed. Without a sibling backup nothing changes and `message` says why.
struct SingleRestore {
    bool restored = false;
    std::u16string message;
};
SingleRestore restoreSingleFile(const std::u16string& path);

// The backup folder for the chosen folder (ending in "/") and a backup folder name: an empty
// name means "bak". A name holding "/", "\" or "..", or the name ".", is refused with
// BackupError, so a backup never lands outside the chosen folder nor in it. An empty or
// relative chosen folder is refused the same way.
std::u16string backupFolderPath(std::u16string_view currentFolder, std::u16string_view name);

// Copies one file into the backup folder (created when missing) under its own name,
// overwriting an earlier copy. Throws FileError or BackupError on failure (an empty or relative
// backup folder among them).
bool BackupOneFile(const std::u16string& path, const std::u16string& backupFolder);

// Copies every listed file (ticked or not) into the backup folder of `currentFolder` and
// `name` (empty: "bak") and logs "Files backed up successfully.". On failure logs the
// error entry and answers false; copies already made stay.
bool BackupAllFiles(const std::vector<FileItem>& files, std::u16string_view currentFolder,
                    std::u16string_view name, FileSink& sink);

// The two file steps of a restore; tests replace them to make one fail half-way.
struct RestoreSteps {
    // Replaces `to` by a copy of `from` in one atomic step.
    std::function<void(const std::u16string& from, const std::u16string& to)> copyOver;
    std::function<void(const std::u16string& path)> remove;
};
RestoreSteps systemRestoreSteps();

// Restore of a folder: copies every plain file of the backup folder back over the file of the
// same name in `currentFolder` and deletes the copy, then logs "Files restored successfully."
// and removes the backup folder. Answers true only then. No folder or an empty one: its error
// entry, nothing changes. A failing step stops the run with an error entry; every file is then
// either restored or as it was, and the backups not yet restored stay in the backup folder.
bool RestoreFolder(std::u16string_view currentFolder, std::u16string_view name, FileSink& sink,
                   const RestoreSteps& steps = systemRestoreSteps());

}  // namespace lodestar
