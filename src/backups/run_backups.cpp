// A folder run's backups: made batch by batch before the renames, named in the journal first.
#include "backups/run_backups.h"

#include <unistd.h>

#include <algorithm>

#include "backups/backup.h"
#include "backups/backup_link.h"
#include "backups/backup_paths.h"
#include "backups/folder_history.h"
#include "core/text.h"
#include "files/file_ops.h"
#include "files/paths.h"
#include "files/safe_write.h"

namespace lodestar {

RunBackups::RunBackups(std::u16string_view currentFolder, std::u16string_view name, bool goOn,
                       std::u16string_view kind, std::size_t keep)
    : currentFolder_(currentFolder), askedName_(name), goOn_(goOn), kind_(kind), keep_(keep) {}

bool RunBackups::ready(FileSink& sink) {
    choice_ = backupFolderForRun(currentFolder_, askedName_);
    if (RunJournal::stateOf(choice_.path) == RunJournal::State::Unfinished) {
        if (!goOn_) {
            sink.logError(kUnfinishedRunMessage, u"");
            return false;
        }
        journal_ = RunJournal::begin(choice_.path, true);
    }
    if (choice_.renamed) sink.logLine(renamedBackupFolderNote(currentFolder_, askedName_, choice_));
    if (folderExists(choice_.path)) {
        removeStaleTemporaries(choice_.path);
        // A run killed half-way left temporary files beside the files it was writing, in any
        // folder of the tree: the folders its journal names are cleaned (the lock keeps every
        // other run of this folder away meanwhile).
        std::vector<std::u16string> cleaned;
        std::u16string target = currentFolder_;
        if (!target.empty() && target.back() != u'/') target += u'/';
        const RunJournal last = RunJournal::read(choice_.path);
        for (const std::u16string& name : last.changedFiles()) {
            if (!isPlainRelativeName(name) || linkOnTheWay(target, name)) continue;
            const std::u16string parent = ParentFolderOf(target + name);
            if (std::find(cleaned.begin(), cleaned.end(), parent) != cleaned.end()) continue;
            cleaned.push_back(parent);
            if (folderExists(parent)) removeStaleTemporaries(parent);
        }
    }
    return true;
}

std::u16string RunBackups::nameOf(const std::u16string& path) const {
    return backupNameOf(currentFolder_, path);
}

void RunBackups::backUp(std::vector<FileStep>& steps) {
    std::vector<std::u16string> names;
    try {
        for (FileStep& step : steps) {
            if (!step.pending) continue;
            const std::u16string name = nameOf(step.outcome.path);
            // The run this one goes on with keeps the backup of the file's original.
            if (journal_ && journal_->holds(name)) continue;
            if (!journal_) {
                // The journal comes first: from now on the folder is known as the program's own.
                makeBackupFolder(choice_.path);
                // The last run's backups stay, as the step before this one.
                archiveNewestStep(choice_.path, keep_);
                journal_ = RunJournal::begin(choice_.path, false, kind_);
            }
            BackupOneFile(step.outcome.path, choice_.path, name);
            names.push_back(name);
            step.backedUp = true;
        }
        if (names.empty()) return;
        flushFolders({toUtf8(choice_.path)});
        journal_->recordBackups(names);
    } catch (...) {
        // No file of the batch changes: the backups just made, still second names of their
        // files, go again.
        for (const std::u16string& name : names) ::unlink(toUtf8(choice_.path + name).c_str());
        throw;
    }
    waiting_.insert(waiting_.end(), names.begin(), names.end());
}

void RunBackups::placed(const FileStep& step, bool madeWritable) {
    if (!step.backedUp) return;
    const std::u16string name = nameOf(step.outcome.path);
    std::erase(waiting_, name);
    // The backup, now apart from the file, keeps the read-only bit the file had.
    if (madeWritable) setReadOnly(choice_.path + name);
}

void RunBackups::changedElsewhere(const FileStep& step) {
    if (!step.backedUp) return;
    // Not the original of a change: Restore passes it by, and it stops being the file itself,
    // which another program may still be writing.
    const std::u16string name = nameOf(step.outcome.path);
    std::erase(waiting_, name);
    journal_->recordUnchanged(name);
    detachBackup(step.outcome.path, choice_.path + name);
}

void RunBackups::dropped(const FileStep& step) {
    if (!step.backedUp) return;
    forget(nameOf(step.outcome.path));
}

void RunBackups::forget(const std::u16string& name) {
    // The file never changed: its backup goes again, as if never made.
    std::erase(waiting_, name);
    journal_->recordUnchanged(name);
    ::lodestar::removeFile(choice_.path + name);
}

void RunBackups::finish() {
    if (journal_) journal_->finish();
}

void RunBackups::failed() {
    for (const std::u16string& name : std::vector<std::u16string>(waiting_)) {
        try {
            forget(name);
        } catch (const Error&) {
            // Still named in the journal: Restore puts back the same content; nothing is lost.
        }
    }
}

}  // namespace lodestar
