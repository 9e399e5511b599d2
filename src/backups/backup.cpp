// Sibling backups on save, the backup folder of a folder run, and both restores.
#include "backups/backup.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "backups/backup_folder.h"
#include "backups/backup_link.h"
#include "backups/backup_paths.h"
#include "backups/file_details.h"
#include "backups/folder_history.h"
#include "backups/folder_lock.h"
#include "backups/run_journal.h"
#include "core/text.h"
#include "files/file_identity.h"
#include "files/folder_listing.h"
#include "files/folder_visits.h"
#include "files/paths.h"
#include "files/safe_write.h"
#include "files/text_file.h"

namespace lodestar {

namespace {

std::filesystem::path osPath(const std::u16string& path) {
    return toUtf8(path);
}

void ensureFolder(const std::u16string& folder) {
    refuseLinkedBackupFolder(folder);
    std::error_code ec;
    std::filesystem::create_directory(osPath(folder), ec);
    if (ec || !folderExists(folder))
        throw BackupError("Cannot create the backup folder " + toUtf8(folder) + ": " +
                          (ec ? ec.message() : std::string("not a folder")));
}

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
                    const TextFormat& format, std::optional<FileStamp> expected,
                    const SaveNote& note) {
    if (!fileExists(path)) throw fileFailure("Cannot save the file", path, "it does not exist");
    if (isReadOnly(path)) throw fileFailure("Cannot save the file", path, "it is read-only");
    // A text the encoding cannot hold is refused before any step is kept.
    if (const auto character = unholdableCharacter(text, format.encoding))
        throw fileFailure("Cannot save the file", path,
                          cannotHoldMessage(*character, format.encoding));
    if (!backup) return WriteTextFile(path, text, format, expected);
    FileHistory history(path);
    history.add(note.kind, note.wasReadOnly, note.keepSteps);
    try {
        WriteTextFile(path, text, format, expected);
    } catch (const Error&) {
        // Not saved: the step of this save goes again.
        history.dropNewest();
        throw;
    }
}

std::u16string siblingBackupOf(const std::u16string& path) {
    try {
        return FileHistory(path).sibling();
    } catch (const Error&) {
        return {};
    }
}

std::vector<HistoryStep> savedSteps(const std::u16string& path) {
    try {
        return FileHistory(path).steps();
    } catch (const Error&) {
        return {};
    }
}

namespace {

std::u16string clockTime(std::time_t made) {
    std::tm local{};
    ::localtime_r(&made, &local);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d", local.tm_hour, local.tm_min);
    return fromUtf8(text);
}

std::u16string stepsLeftText(std::size_t left) {
    if (left == 0) return u"No earlier step remains.";
    return decimal(static_cast<long long>(left)) +
           (left == 1 ? u" earlier step remains." : u" earlier steps remain.");
}

}  // namespace

std::u16string restoreQuestion(const std::u16string& path) {
    const std::vector<HistoryStep> steps = savedSteps(path);
    if (steps.empty()) return {};
    const std::size_t slash = path.rfind(u'/');
    const std::u16string name = slash == std::u16string::npos ? path : path.substr(slash + 1);
    return u"Restore " + name + u" to its state before the " + steps.back().kind + u" of " +
           clockTime(steps.back().made) + u"? " + stepsLeftText(steps.size() - 1);
}

std::vector<FolderStep> runSteps(std::u16string_view currentFolder, std::u16string_view name) {
    try {
        const auto choice = backupFolderOfRuns(currentFolder, name);
        return choice ? folderSteps(choice->path) : std::vector<FolderStep>{};
    } catch (const Error&) {
        return {};
    }
}

std::u16string folderRestoreQuestion(std::u16string_view currentFolder, std::u16string_view name) {
    const std::vector<FolderStep> steps = runSteps(currentFolder, name);
    if (steps.empty()) return {};
    return u"Restore " + std::u16string(currentFolder) + u" to its state before the " +
           steps.front().kind + u" of " + clockTime(steps.front().started) + u"? " +
           stepsLeftText(steps.size() - 1);
}

SingleRestore restoreSingleFile(const std::u16string& path) {
    try {
        FileHistory history(path);
        if (history.steps().empty())
            return {false,
                    u"No backup of " + path + u" is kept (no step of its history; a " +
                        siblingBackupPath(path) +
                        u" the program did not write is not one); the file is unchanged.",
                    0};
        const HistoryStep step = history.steps().back();
        history.restoreNewest();
        const std::size_t left = history.steps().size();
        return {true,
                u"Restored " + path + u" to its state before the " + step.kind + u" of " +
                    clockTime(step.made) + u". " + stepsLeftText(left),
                left};
    } catch (const Error& error) {
        return {false, fromUtf8(error.what()) + u" The file is unchanged.", 0};
    }
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

void makeBackupFolder(const std::u16string& folder) {
    ensureFolder(folder);
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
        const auto choice = backupFolderOfRuns(currentFolder, name);
        return choice && RunJournal::stateOf(choice->path) == RunJournal::State::Unfinished;
    } catch (const Error&) {
        return false;
    }
}

RestoreSteps systemRestoreSteps() {
    return {[](const std::u16string& from, const std::u16string& to) {
                // The backup goes back by a rename: one step, and the file comes back as it
                // was, with its permissions, times, extended attributes and holes. A link
                // planted at the file's place is replaced, never written through.
                if (std::rename(toUtf8(from).c_str(), toUtf8(to).c_str()) == 0) return;
                if (errno != EXDEV) throw fileFailure("Cannot put back the backup", from, errno);
                // A backup folder on another file system: a copy, its bits set on the file
                // written.
                copyFileOver(from, to, LinkAtTarget::Replace);
                copyDetails(from, to);
            },
            [](const std::u16string& path) {
                // Gone already when the backup went back by a rename.
                if (fileExists(path) || isSymbolicLink(path)) removeFile(path);
            }};
}

namespace {

// True when `path` is the very file `backup` is (a second name of one inode).
bool sameFile(const std::u16string& path, const std::u16string& backup) {
    struct stat a {};
    struct stat b {};
    return ::lstat(toUtf8(path).c_str(), &a) == 0 && ::lstat(toUtf8(backup).c_str(), &b) == 0 &&
           a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// How many files a restore names in the journal at once.
constexpr std::size_t kRestoreChunk = 512;

// Whether one file named in the journal can be put back: why not, or nothing. `waiting` says
// whether its backup is still there to go back (else a restore cut short put it back already).
std::optional<std::u16string> checkOne(const std::u16string& folder, const std::u16string& file,
                                       const RunJournal& journal, bool& waiting) {
    waiting = false;
    if (!isPlainRelativeName(file)) return u"a backup name that leads out of the folder";
    // Never read through a link: it could bring any file's content in.
    if (linkOnTheWay(folder, file)) return u"a symbolic link in the backup folder is not used";
    if (!fileExists(folder + file)) {
        // A restore cut short between the rename and its journal line put this one back.
        if (journal.puttingBack(file)) return std::nullopt;
        return u"its backup is missing";
    }
    waiting = true;
    return std::nullopt;
}

// Puts back one file whose backup is waiting, named as putting back in the journal already;
// answers why it could not, or nothing.
std::optional<std::u16string> restoreOne(const std::u16string& folder, const std::u16string& target,
                                         const std::u16string& file, const RestoreSteps& steps) {
    try {
        const std::u16string to = pathWithFolders(target, file);
        // Still the backup's own inode: the file is its original already.
        if (!sameFile(to, folder + file)) steps.copyOver(folder + file, to);
        steps.remove(folder + file);
        removeEmptyFolders(folder, file);
    } catch (const Error& error) {
        return fromUtf8(error.what());
    } catch (const std::bad_alloc&) {
        return u"not enough memory";
    }
    return std::nullopt;
}

// True when the folder holds nothing but the journal.
bool onlyJournalLeft(const std::u16string& folder) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(osPath(folder), ec))
        if (entry.path().filename() != toUtf8(kJournalName)) return false;
    return !ec;
}

}  // namespace

bool RestoreFolder(std::u16string_view currentFolder, std::u16string_view name, FileSink& sink,
                   const RestoreSteps& steps) {
    std::optional<BackupFolderChoice> choice;
    try {
        backupFolderPath(currentFolder, name);
        choice = backupFolderOfRuns(currentFolder, name);
    } catch (const BackupError& error) {
        sink.logError(kRestoreFailed, fromUtf8(error.what()));
        return false;
    }
    const FolderLock lock(currentFolder);
    if (!lock.held()) {
        sink.logError(kFolderBusyMessage, std::u16string(currentFolder));
        return false;
    }
    std::u16string target(currentFolder);
    if (target.back() != u'/') target += u'/';
    // What a killed run left beside the files; the lock keeps every live run of this folder away.
    removeStaleTemporaries(target);
    // Only a folder that holds the program's journal holds its backups: a folder of the user
    // that has the same name is never read nor emptied.
    if (!choice) {
        const std::u16string asked = backupFolderPath(currentFolder, name);
        const bool empty = folderExists(asked) && holdsNothingOfTheUser(asked);
        // A run killed as it began left its temporary files there: they go.
        if (empty) removeStaleTemporaries(asked);
        sink.logError(empty ? kEmptyBackupFolder : kNoBackupFolder, u"");
        return false;
    }
    const std::u16string folder = choice->path;
    // What a killed write left behind would keep the backup folder from being removed.
    removeStaleTemporaries(folder);
    std::optional<RunJournal> journal;
    try {
        recoverArchivedStep(folder);
        finishCutShortPromotion(folder);
        journal = RunJournal::read(folder);
    } catch (const Error& error) {
        sink.logError(kRestoreFailed, fromUtf8(error.what()));
        return false;
    }
    // The backups still waiting: those a restore cut short put back already are passed by.
    const std::vector<std::u16string> names = journal->changedFiles();
    if (names.empty() && journal->restoredAll()) {
        sink.logError(kEmptyBackupFolder, u"");
        return false;
    }
    if (names.empty() && journal->finished()) {
        // Nothing of the last run is waiting (every file was left as another program wrote it).
        sink.logLine(kRestored);
        return true;
    }
    std::size_t notRestored = 0;
    std::vector<std::u16string> cleaned;
    try {
        // From here the journal is unfinished until every file is back: a restore cut short
        // is never taken for a finished one, and no new run starts over its backups.
        journal->beginRestore();
        const auto notPutBack = [&](const std::u16string& file, const std::u16string& why) {
            ++notRestored;
            const bool stop = !why.empty() && why.back() == u'.';
            sink.logLine(u"Not restored " + target + file + u": " + why + (stop ? u"" : u"."));
        };
        // The journal names the files going back and those back a chunk at a time, so a long
        // restore costs two writes to the disk a chunk, not a file.
        for (std::size_t from = 0; from < names.size(); from += kRestoreChunk) {
            const std::size_t to = std::min(names.size(), from + kRestoreChunk);
            std::vector<std::u16string> waiting, done;
            for (std::size_t i = from; i < to; ++i) {
                const std::u16string& file = names[i];
                // Temporary files a killed run left beside the files go too.
                const std::u16string parent = ParentFolderOf(target + file);
                if (std::find(cleaned.begin(), cleaned.end(), parent) == cleaned.end()) {
                    if (isPlainRelativeName(file) && folderExists(parent) &&
                        !linkOnTheWay(target, file))
                        removeStaleTemporaries(parent);
                    cleaned.push_back(parent);
                }
                bool backupWaits = false;
                if (const auto why = checkOne(folder, file, *journal, backupWaits))
                    notPutBack(file, *why);
                else
                    (backupWaits ? waiting : done).push_back(file);
            }
            journal->recordPuttingBack(waiting);
            for (const std::u16string& file : waiting) {
                if (const auto why = restoreOne(folder, target, file, steps))
                    notPutBack(file, *why);
                else
                    done.push_back(file);
            }
            journal->recordRestored(done);
        }
        if (notRestored == 0) journal->completeRestore();
    } catch (const Error& error) {
        sink.logError(kRestoreFailed, fromUtf8(error.what()));
        return false;
    }
    if (notRestored > 0) {
        // The journal is kept: Restore again puts back the files still waiting.
        sink.logError(kRestoreFailed, decimal(static_cast<long long>(notRestored)) +
                                          u" file(s) could not be restored.");
        return false;
    }
    sink.logLine(kRestored);
    // The step before this one comes to the top: Restore again takes it back.
    try {
        if (promoteNewestStep(folder)) return true;
    } catch (const Error& error) {
        sink.logError(kRestoreFailed, fromUtf8(error.what()));
        return false;
    }
    if (onlyJournalLeft(folder)) {
        RunJournal::remove(folder);
        std::error_code ignored;
        std::filesystem::remove(osPath(folder), ignored);
    }
    return true;
}

}  // namespace lodestar
