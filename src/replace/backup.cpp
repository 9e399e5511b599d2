// Sibling backups on save, the backup folder of a folder run, and both restores.
#include "replace/backup.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "core/text.h"
#include "files/file_identity.h"
#include "files/folder_listing.h"
#include "files/folder_visits.h"
#include "files/paths.h"
#include "files/safe_write.h"
#include "files/text_file.h"
#include "replace/backup_link.h"
#include "replace/backup_paths.h"
#include "replace/run_journal.h"

namespace lodestar {

namespace {

std::filesystem::path osPath(const std::u16string& path) {
    return toUtf8(path);
}

// The last path component, whatever it holds (FileNameOf is empty for names without a dot).
std::u16string lastComponent(std::u16string_view path) {
    const auto slash = path.rfind(u'/');
    return std::u16string(slash == std::u16string_view::npos ? path : path.substr(slash + 1));
}

void ensureFolder(const std::u16string& folder) {
    refuseLinkedBackupFolder(folder);
    std::error_code ec;
    std::filesystem::create_directory(osPath(folder), ec);
    if (ec || !folderExists(folder))
        throw BackupError("Cannot create the backup folder " + toUtf8(folder) + ": " +
                          (ec ? ec.message() : std::string("not a folder")));
}

constexpr std::u16string_view kBackedUp = u"Files backed up successfully.";
constexpr std::u16string_view kBackupFailed =
    u"Backup failed.\r\nPlease examine the backup folder and the files.";
constexpr std::u16string_view kNoBackupFolder =
    u"Sorry, your backup folder doesn't exist, restoration failed.";
constexpr std::u16string_view kEmptyBackupFolder = u"Backup folder is empty, restoration failed.";
constexpr std::u16string_view kRestored = u"Files restored successfully.";
constexpr std::u16string_view kRestoreFailed =
    u"Restoration failed.\r\nFiles already restored stay restored, the others keep their "
    u"backups in the backup folder.";

}  // namespace

std::u16string siblingBackupPath(std::u16string_view path) {
    const auto slash = path.rfind(u'/');
    const std::size_t nameStart = slash == std::u16string_view::npos ? 0 : slash + 1;
    const auto dot = path.rfind(u'.');
    std::u16string backup;
    if (dot == std::u16string_view::npos || dot <= nameStart)
        backup = std::u16string(path) + u".bak";
    else
        backup = std::u16string(path.substr(0, dot + 1)) + u"bak";
    if (backup == path) backup += u".bak";
    return backup;
}

void saveWithBackup(const std::u16string& path, std::u16string_view text, bool backup,
                    const TextFormat& format, std::optional<FileStamp> expected) {
    if (!fileExists(path)) throw fileFailure("Cannot save the file", path, "it does not exist");
    if (isReadOnly(path)) throw fileFailure("Cannot save the file", path, "it is read-only");
    // A text the encoding cannot hold is refused before the backup replaces an older one.
    if (const auto character = unholdableCharacter(text, format.encoding))
        throw fileFailure("Cannot save the file", path,
                          cannotHoldMessage(*character, format.encoding));
    if (!backup) return WriteTextFile(path, text, format, expected);
    const std::u16string sibling = siblingBackupPath(path);
    placeBackup(path, sibling);
    flushFolders({toUtf8(ParentFolderOf(sibling))});
    try {
        WriteTextFile(path, text, format, expected);
    } catch (const FileChangedError&) {
        detachBackup(path, sibling);
        throw;
    }
}

SingleRestore restoreSingleFile(const std::u16string& path) {
    const std::u16string backup = siblingBackupPath(path);
    if (!fileExists(backup))
        return {false, u"No backup " + backup + u" exists; the file is unchanged."};
    if (isSymbolicLink(backup))
        return {false, u"The backup " + backup +
                           u" is a symbolic link and is not used; the file "
                           u"is unchanged."};
    if (isSymbolicLink(path)) {
        // The link stays a link: its target gets the backup's content.
        copyFileOver(backup, path);
        removeFile(backup);
        return {true, u"Restored " + path + u" from " + backup + u"."};
    }
    // rename() replaces the target in one step: the file is never missing.
    if (std::rename(toUtf8(backup).c_str(), toUtf8(path).c_str()) != 0)
        throw fileFailure("Cannot put back the backup", backup, errno);
    return {true, u"Restored " + path + u" from " + backup + u"."};
}

// Backups and restores work only under an absolute folder: an empty or relative one would put
// copies wherever the program happens to run, or restore into the file system's root.
static void requireAbsolute(std::u16string_view folder) {
    if (folder.empty() || folder.front() != u'/')
        throw BackupError("The working folder \"" + toUtf8(folder) +
                          "\" is not an absolute folder: no backup or restore is made there.");
}

std::u16string backupFolderPath(std::u16string_view currentFolder, std::u16string_view name) {
    requireAbsolute(currentFolder);
    std::u16string folderName = name.empty() ? std::u16string(u"bak") : std::u16string(name);
    if (folderName.find(u'/') != std::u16string::npos ||
        folderName.find(u'\\') != std::u16string::npos ||
        folderName.find(u"..") != std::u16string::npos || folderName == u"." ||
        folderName.find(u'\0') != std::u16string::npos)
        throw BackupError("The backup folder name \"" + toUtf8(folderName) +
                          "\" is not allowed: give a plain folder name without \"/\", \"\\\" "
                          "or \"..\".");
    std::u16string folder(currentFolder);
    if (!folder.empty() && folder.back() != u'/') folder += u'/';
    return folder + folderName + u'/';
}

void refuseLinkedBackupFolder(const std::u16string& folder) {
    // A backup folder that is a link could send backups anywhere (into ~/.ssh, say).
    if (isSymbolicLink(folder))
        throw BackupError("The backup folder " + toUtf8(folder) +
                          " is a symbolic link; backups are never written or read through a "
                          "link. Remove the link or choose another backup folder name.");
}

bool BackupOneFile(const std::u16string& path, const std::u16string& backupFolder,
                   std::u16string_view name) {
    requireAbsolute(backupFolder);
    ensureFolder(backupFolder);
    placeBackup(path, backupCopyPath(backupFolder, path, name));
    return true;
}

bool lastRunUnfinished(std::u16string_view currentFolder, std::u16string_view name) {
    try {
        return RunJournal::stateOf(backupFolderPath(currentFolder, name)) ==
               RunJournal::State::Unfinished;
    } catch (const Error&) {
        return false;
    }
}

bool BackupAllFiles(const std::vector<FileItem>& files, std::u16string_view currentFolder,
                    std::u16string_view name, FileSink& sink, bool goOnWithUnfinished) {
    std::optional<RunJournal> journal;
    try {
        const std::u16string folder = backupFolderPath(currentFolder, name);
        refuseLinkedBackupFolder(folder);
        const bool unfinished = RunJournal::stateOf(folder) == RunJournal::State::Unfinished;
        if (unfinished && !goOnWithUnfinished) {
            sink.logError(kUnfinishedRunMessage, u"");
            return false;
        }
        ensureFolder(folder);
        removeStaleTemporaries(folder);
        journal = RunJournal::begin(folder, goOnWithUnfinished);
        const std::vector<FileVisit> visits = planVisits(files, false);
        std::vector<std::u16string> backedUp;
        for (std::size_t i = 0; i < files.size(); ++i) {
            const std::u16string backupName = backupNameOf(currentFolder, files[i].path);
            // A file the unfinished run changed keeps the backup of its original.
            if (!files[i].ticked || passedBy(visits[i]) || journal->holds(backupName)) continue;
            BackupOneFile(files[i].path, folder, backupName);
            backedUp.push_back(backupName);
        }
        // Nothing has changed yet: the backups are made durable and named together.
        flushFolders({toUtf8(folder)});
        journal->recordBackups(backedUp);
    } catch (const Error& error) {
        sink.logError(kBackupFailed, fromUtf8(error.what()));
        try {
            // The run ends here, before any change.
            if (journal) journal->finish();
        } catch (const Error&) {
        }
        return false;
    }
    sink.logLine(kBackedUp);
    return true;
}

void FinishRunJournal(std::u16string_view currentFolder, std::u16string_view name) {
    const std::u16string folder = backupFolderPath(currentFolder, name);
    if (RunJournal::stateOf(folder) == RunJournal::State::Unfinished)
        RunJournal::read(folder).finish();
}

RestoreSteps systemRestoreSteps() {
    return {[](const std::u16string& from, const std::u16string& to) {
                // A file the run left read-only (the backup before a batch run takes every
                // file) gets its backup's bytes and bits all the same.
                if (fileExists(to) && isReadOnly(to)) clearReadOnly(to);
                copyFileOver(from, to);
                copyPermissions(from, to);
            },
            [](const std::u16string& path) { removeFile(path); }};
}

bool RestoreFolder(std::u16string_view currentFolder, std::u16string_view name, FileSink& sink,
                   const RestoreSteps& steps) {
    std::u16string folder;
    try {
        folder = backupFolderPath(currentFolder, name);
        refuseLinkedBackupFolder(folder);
    } catch (const BackupError& error) {
        sink.logError(kRestoreFailed, fromUtf8(error.what()));
        return false;
    }
    std::u16string target(currentFolder);
    if (target.back() != u'/') target += u'/';
    removeStaleTemporaries(target);
    if (!folderExists(folder)) {
        sink.logError(kNoBackupFolder, u"");
        return false;
    }
    // What a killed write left behind would keep the backup folder from being removed.
    removeStaleTemporaries(folder);
    std::vector<std::u16string> names;
    const bool journaled = RunJournal::stateOf(folder) != RunJournal::State::None;
    try {
        if (journaled) {
            // Exactly the files the last run changed; a backup already put back by a restore
            // that was cut short is gone and passed by.
            const RunJournal journal = RunJournal::read(folder);
            for (const std::u16string& file : journal.changedFiles())
                if (fileExists(folder + file) || isSymbolicLink(folder + file))
                    names.push_back(file);
        } else {
            for (const std::u16string& path : listFolder(folder, u"*.*"))
                names.push_back(lastComponent(path));
        }
    } catch (const Error& error) {
        sink.logError(kRestoreFailed, fromUtf8(error.what()));
        return false;
    }
    if (names.empty() && !journaled) {
        sink.logError(kEmptyBackupFolder, u"");
        return false;
    }
    try {
        for (const std::u16string& file : names) {
            if (!isPlainRelativeName(file)) {
                sink.logLine(u"Passed " + file + u": a backup name that leads out of the folder.");
                continue;
            }
            if (linkOnTheWay(folder, file)) {
                // Never read through a link: it could bring any file's content in.
                sink.logLine(u"Passed " + folder + file +
                             u": a symbolic link in the backup folder is not restored.");
                continue;
            }
            steps.copyOver(folder + file, pathWithFolders(target, file));
            steps.remove(folder + file);
            removeEmptyFolders(folder, file);
        }
    } catch (const Error& error) {
        sink.logError(kRestoreFailed, fromUtf8(error.what()));
        return false;
    }
    RunJournal::remove(folder);
    sink.logLine(kRestored);
    std::error_code ignored;  // other files left behind keep the folder; nothing is lost
    std::filesystem::remove(osPath(folder), ignored);
    return true;
}

}  // namespace lodestar
