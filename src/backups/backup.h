// Backups before files change, and putting them back: the sibling backup beside a saved file
// (page.htm -> page.bak) and the backup folder under the chosen folder (folder/bak/name).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "backups/file_history.h"
#include "backups/folder_history.h"
#include "core/error.h"
#include "files/file_identity.h"
#include "files/file_sink.h"
#include "files/text_encoding.h"

namespace lodestar {

// Refused backup folder names and failed backup or restore steps.
class BackupError : public Error {
  public:
    using Error::Error;
};

inline constexpr std::u16string_view kBackupFailedMessage =
    u"Backup failed.\r\nPlease examine the backup folder and the files.";

// The sibling backup of a file: the file's path up to and including the last "." of its
// name, then "bak" (page.htm -> page.bak). A name without such a dot, or whose only dot
// starts it, gets ".bak" appended (notes -> notes.bak, .profile -> .profile.bak); a file that
// already ends in ".bak" gets a second ".bak", so the backup is never the file itself. The
// backup always lies in the file's own folder.
std::u16string siblingBackupPath(std::u16string_view path);

// What a save is, for the file's history of steps.
struct SaveNote {
    std::u16string_view kind = u"save";  // "save", "replace", "batch"
    // The caller cleared the file's read-only bit for this save: the step keeps the bit, so
    // Restore gives it back.
    bool wasReadOnly = false;
    std::size_t keepSteps = kDefaultKeptSteps;  // the oldest steps beyond this go
};

// Save: writes `text` in `format` as the file's whole new content. With `backup` the file as it
// was is first kept as the newest step of its history (see file_history.h) and copied to its
// sibling backup, a name that never belongs to a file the program did not write (page.bak, else
// page.htm.bak, else a numbered name). Read-only files are the caller's question: this refuses
// them with FileError, as it refuses a text the format cannot hold and any failed copy or write,
// and then the file on disk is unchanged and no step is kept. A link stays a link and its target
// gets the text. With `expected` (the stamp taken before the file was read), a file another
// program changed since is left alone: FileChangedError.
void saveWithBackup(const std::u16string& path, std::u16string_view text, bool backup,
                    const TextFormat& format = {}, std::optional<FileStamp> expected = std::nullopt,
                    const SaveNote& note = {});

// The sibling backup the file's latest save made (empty when none is kept).
std::u16string siblingBackupOf(const std::u16string& path);

// The steps of the file's history, oldest first: what Restore can still take back.
std::vector<HistoryStep> savedSteps(const std::u16string& path);

// Single-file restore: the newest step of the file's history goes back over the file (its
// permission bits, read-only bit, time and extended attributes too) and is dropped; the sibling
// backup then holds the step before, or goes when none is left. A path that became a symbolic
// link since is not written through. Without a step nothing changes and `message` says why.
struct SingleRestore {
    bool restored = false;
    std::u16string message;
    std::size_t stepsLeft = 0;  // earlier steps Restore can still take back
};
SingleRestore restoreSingleFile(const std::u16string& path);

// The question the window asks before a single-file Restore: "Restore page.html to its state
// before the replace of 14:02? 2 earlier steps remain." Empty when no step is kept.
std::u16string restoreQuestion(const std::u16string& path);

// The steps of a folder's runs Restore can take back, newest first (see folder_history.h), and
// the question the window asks before a folder Restore: "Restore <folder> to its state before
// the batch of 14:02? 2 earlier steps remain." (empty when there is nothing to take back).
std::vector<FolderStep> runSteps(std::u16string_view currentFolder, std::u16string_view name);
std::u16string folderRestoreQuestion(std::u16string_view currentFolder, std::u16string_view name);

// The backup folder for the chosen folder (ending in "/") and a backup folder name: an empty
// name means "bak". A name holding "/", "\" or "..", or the name ".", is refused with
// BackupError, so a backup never lands outside the chosen folder nor in it. An empty or
// relative chosen folder is refused the same way.
std::u16string backupFolderPath(std::u16string_view currentFolder, std::u16string_view name);

// Throws BackupError when the backup folder (ending in "/") is a symbolic link.
void refuseLinkedBackupFolder(const std::u16string& folder);

// Creates the backup folder (ending in "/") when missing; a link there is refused. Throws
// BackupError.
void makeBackupFolder(const std::u16string& folder);

// Copies one file into the backup folder (created when missing) under its own name,
// overwriting an earlier copy; a symbolic link there is replaced, never written through. A
// backup folder that is a symbolic link is refused, as is an empty or relative backup folder.
// Throws FileError or BackupError on failure.
// With a `name` (see backupNameOf) the copy lies at that path under the backup folder, its
// folders created as needed; a folder on the way that is a link is refused.
bool BackupOneFile(const std::u16string& path, const std::u16string& backupFolder,
                   std::u16string_view name = {});

// True when the last run in the folder's backup folder was cut short (its journal is not
// finished): the window asks whether to restore first, the command line wants --force.
bool lastRunUnfinished(std::u16string_view currentFolder, std::u16string_view name);

// The two file steps of a restore; tests replace them to make one fail half-way.
struct RestoreSteps {
    // Replaces `to` by a copy of `from` in one atomic step.
    std::function<void(const std::u16string& from, const std::u16string& to)> copyOver;
    std::function<void(const std::u16string& path)> remove;
};
RestoreSteps systemRestoreSteps();

// Restore of a folder: copies the backups of the files the last run changed (as its journal
// names them; without a journal every plain file of the backup folder) back over the file of
// the same relative path in `currentFolder` (a read-only one too), with the backup's permission
// bits, and deletes each copy and the mirrored folders it leaves empty, then logs "Files
// restored successfully.", deletes the journal and removes the backup folder when it is empty.
// Answers true only then. Links in the backup folder (or on the way to a backup) are never read; a
// backup folder that is a link is refused; a name leading out of the folder is passed by; a
// folder on the way to a restored file is created when missing and refused when it is a link. No
// folder or an empty one: its error entry, nothing changes. A failing step stops the run with an
// error entry; every file is then either restored or as it was, and the backups not yet restored
// stay in the backup folder.
bool RestoreFolder(std::u16string_view currentFolder, std::u16string_view name, FileSink& sink,
                   const RestoreSteps& steps = systemRestoreSteps());

}  // namespace lodestar
