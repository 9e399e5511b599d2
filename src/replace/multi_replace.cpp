// Replacing in every ticked file of a folder, one file at a time, stopping at the first failure.
#include "replace/multi_replace.h"

#include <optional>

#include "core/text.h"
#include "files/file_identity.h"
#include "files/folder_listing.h"
#include "files/folder_visits.h"
#include "files/multi_search.h"
#include "files/reusable_reader.h"
#include "files/safe_write.h"
#include "files/text_file.h"
#include "replace/backup.h"
#include "replace/backup_paths.h"
#include "replace/run_journal.h"

namespace lodestar {

namespace {

class Run {
  public:
    Run(const RegExp& expr, std::u16string_view replacement, const ReplaceSettings& settings,
        ReadOnlyQuestion& readOnly, FileSink& sink)
        : expr_(expr),
          replacement_(replacement),
          settings_(settings),
          readOnly_(readOnly),
          sink_(sink) {}

    std::size_t replacedFiles = 0;
    std::size_t changedElsewhere = 0;
    std::size_t binarySkipped = 0;
    std::size_t cannotHold = 0;
    bool rewroteUncounted = false;

    FileOutcome replaceInFile(std::size_t row, const std::u16string& path, const FileVisit& visit) {
        FileOutcome outcome{row, path, u"", u"", std::nullopt};
        if (passedBy(visit)) {
            sink_.logLine(visitNote(path, visit));
            return {row, path, u"-", std::u16string(kSameFileStatus), std::nullopt};
        }
        const bool readOnly = isReadOnly(path);
        if (readOnly && !mayWrite()) {
            outcome.matchesCell = u"-1";
            outcome.statusCell = u" Read only";
            return outcome;
        }
        sink_.showStatus(u"Loading " + path + u" ...");
        // Taken before the read: any change after it shows at the write.
        const std::optional<FileStamp> stamp = stampOf(path);
        const std::u16string_view text = reader_.read(path);
        if (reader_.binary() && !settings_.reading.binaryAsText) {
            outcome.matchesCell = u"-";
            outcome.skipped = FileSkip::Binary;
            ++binarySkipped;
            return outcome;
        }
        if (settings_.countMatches) {
            const std::size_t count = expr_.count(text);
            outcome.count = count;
            outcome.matchesCell = decimal(static_cast<long long>(count));
            if (count == 0) {
                outcome.statusCell = u" Passed";
                return outcome;
            }
        } else {
            outcome.matchesCell = u"-";
            rewroteUncounted = true;
        }
        // The new text is built before anything is written, so a pattern failure leaves the
        // file and its backup alone.
        const std::u16string replaced = expr_.replace(text, replacement_);
        const TextFormat format = reader_.format();
        if (const auto character = unholdableCharacter(replaced, format.encoding)) {
            outcome.skipped = FileSkip::CannotHoldText;
            ++cannotHold;
            sink_.logError(kCannotHoldMessage,
                           path + u": " + fromUtf8(cannotHoldMessage(*character, format.encoding)));
            return outcome;
        }
        if (visit.kind == VisitKind::LinkOutside) sink_.logLine(visitNote(path, visit));
        const bool backedUpNow = settings_.backup && backUp(path);
        // Made writable only now: a file that is not rewritten keeps its bits.
        if (readOnly) clearReadOnly(path);
        sink_.showStatus(u"Replacing " + path + u" ...");
        try {
            WriteTextFile(path, replaced, format, stamp);
        } catch (const FileChangedError&) {
            // The backup just made is not the original of a change: Restore passes it by.
            if (backedUpNow) journal_->recordUnchanged(backupNameOf(settings_.currentFolder, path));
            ++changedElsewhere;
            outcome.statusCell = std::u16string(kChangedElsewhereStatus);
            return outcome;
        }
        // The file was read-only: so is its backup, also one that shares the file's inode and
        // so was made writable with it. Restore gives the file its backup's bits.
        if (readOnly && backedUpNow)
            setReadOnly(backupFolder() + backupNameOf(settings_.currentFolder, path));
        ++replacedFiles;
        outcome.statusCell = u" Replaced";
        return outcome;
    }

    const std::u16string& backupFolder() {
        if (backupFolder_.empty())
            backupFolder_ = backupFolderPath(settings_.currentFolder, settings_.backupFolderName);
        return backupFolder_;
    }

    // Ends the journal of the run, also of an unfinished run this one went on with.
    void finishJournal() {
        if (journal_) {
            journal_->finish();
        } else if (settings_.backup && settings_.goOnWithUnfinished) {
            FinishRunJournal(settings_.currentFolder, settings_.backupFolderName);
        }
    }

  private:
    // Backs the file up unless the run this one goes on with already holds its original.
    // True when a backup was made now.
    bool backUp(const std::u16string& path) {
        const std::u16string name = backupNameOf(settings_.currentFolder, path);
        if (journal_ && journal_->holds(name)) return false;
        if (!journal_ && settings_.goOnWithUnfinished &&
            RunJournal::read(backupFolder()).holds(name)) {
            journal_ = RunJournal::begin(backupFolder(), true);
            return false;
        }
        BackupOneFile(path, backupFolder(), name);
        if (!journal_) journal_ = RunJournal::begin(backupFolder(), settings_.goOnWithUnfinished);
        journal_->recordBackup(name);
        return true;
    }

    // Asks once per run whether read-only files may be made writable.
    bool mayWrite() {
        if (!asked_) {
            allowed_ = readOnly_.makeWritable();
            asked_ = true;
        }
        return allowed_;
    }

    const RegExp& expr_;
    std::u16string_view replacement_;
    const ReplaceSettings& settings_;
    ReadOnlyQuestion& readOnly_;
    FileSink& sink_;
    ReusableTextReader reader_{settings_.reading};
    std::u16string backupFolder_;
    std::optional<RunJournal> journal_;
    bool asked_ = false;
    bool allowed_ = false;
};

}  // namespace

ReplaceSummary ReplaceAllFiles(const RegExp& expr, std::u16string_view replacement,
                               const std::vector<FileItem>& files, const ReplaceSettings& settings,
                               ReadOnlyQuestion& readOnly, FileSink& sink, const StopToken* stop) {
    Run run(expr, replacement, settings, readOnly, sink);
    ReplaceSummary summary;
    try {
        if (settings.backup) {
            // A refused backup folder stops the run before any file is touched.
            refuseLinkedBackupFolder(run.backupFolder());
            if (RunJournal::stateOf(run.backupFolder()) == RunJournal::State::Unfinished &&
                !settings.goOnWithUnfinished) {
                summary.unfinishedRun = true;
                sink.logError(kUnfinishedRunMessage, u"");
                return summary;
            }
            removeStaleTemporaries(run.backupFolder());
        }
        removeStaleTemporaries(settings.currentFolder);
        const std::vector<FileVisit> visits = planVisits(files, true);
        for (std::size_t i = 0; i < files.size(); ++i) {
            if (stop && stop->requested()) {
                summary.stopped = true;
                summary.replacedFiles = run.replacedFiles;
                return summary;
            }
            if (files[i].ticked)
                sink.fileDone(run.replaceInFile(i + 1, files[i].path, visits[i]));
            else
                sink.fileDone({i + 1, files[i].path, u"-", u"Passed", std::nullopt});
        }
    } catch (const Error& error) {
        summary.replacedFiles = run.replacedFiles;
        const bool patternFailed = dynamic_cast<const RegExpError*>(&error) ||
                                   dynamic_cast<const ReplaceTooLarge*>(&error) ||
                                   dynamic_cast<const SearchStopped*>(&error);
        sink.logError(patternFailed ? kSearchErrorMessage : kFileErrorMessage,
                      fromUtf8(error.what()));
        try {
            run.finishJournal();
        } catch (const Error&) {
            // The journal stays unfinished: the next run asks first, which is safe.
        }
        return summary;
    }
    run.finishJournal();
    summary.replacedFiles = run.replacedFiles;
    summary.changedElsewhere = run.changedElsewhere;
    summary.ok = run.changedElsewhere == 0;
    summary.binarySkipped = run.binarySkipped;
    summary.cannotHold = run.cannotHold;
    if (run.rewroteUncounted)
        sink.logLine(u"Files replaced successfully.");
    else
        sink.logLine(decimal(static_cast<long long>(run.replacedFiles)) + u" files replaced in " +
                     decimal(static_cast<long long>(files.size())) + u" files.");
    if (run.binarySkipped > 0) sink.logLine(binarySkippedLine(run.binarySkipped));
    if (run.changedElsewhere > 0)
        sink.logError(kChangedElsewhereMessage,
                      decimal(static_cast<long long>(run.changedElsewhere)) + u" file(s).");
    sink.showStatus(u"Done.");
    return summary;
}

}  // namespace lodestar
