// Replacing in every ticked file of a folder: files prepared on worker threads, put in place in
// listing order, stopping at the first failure.
#include "runs/multi_replace.h"

#include <optional>

#include "backups/backup.h"
#include "backups/backup_link.h"
#include "backups/backup_paths.h"
#include "backups/commit_queue.h"
#include "backups/folder_lock.h"
#include "backups/run_backups.h"
#include "backups/run_journal.h"
#include "core/ordered_work.h"
#include "core/text.h"
#include "files/file_identity.h"
#include "files/file_ops.h"
#include "files/folder_listing.h"
#include "files/folder_visits.h"
#include "files/safe_write.h"
#include "runs/multi_search.h"
#include "runs/out_of_memory.h"
#include "runs/outside_links.h"
#include "runs/worker_tools.h"

namespace lodestar {

namespace {

// What a worker found out about one file, and its new content waiting in a temporary file.
struct Prepared {
    enum class Kind {
        Unticked,
        PassedBy,
        OutsideLink,
        ReadOnly,
        Binary,
        NoMatch,
        Unchanged,
        CannotHold,
        Write
    };
    Kind kind = Kind::Unticked;
    std::optional<std::size_t> count;  // with counting on
    std::optional<PendingReplace> pending;
    std::u16string cannotHoldCause;

    static Prepared of(Kind kind) {
        Prepared prepared;
        prepared.kind = kind;
        return prepared;
    }
};

class Run {
  public:
    Run(const RegExp& expr, std::u16string_view replacement, const std::vector<FileItem>& files,
        const ReplaceSettings& settings, ReadOnlyQuestion& readOnly, FileSink& sink,
        const StopToken* stop)
        : replacement_(replacement),
          files_(files),
          settings_(settings),
          readOnly_(readOnly),
          output_(settings.output ? *settings.output : systemFileOutput()),
          filter_(settings.countMatches ? prefilterFor(expr) : std::nullopt),
          // One set per worker, and one for the files the run itself prepares.
          tools_(makeWorkerTools(threads_ + 1, expr, settings.reading, filter_)),
          queue_(sink, hooks(), stop, output_) {}

    std::size_t replacedFiles = 0;
    std::size_t changedElsewhere = 0;
    std::size_t binarySkipped = 0;
    std::size_t cannotHold = 0;
    bool rewroteUncounted = false;

    // Runs over the files; answers false when a stop request ended it early. Throws the first
    // failure, after the files before it are done.
    bool replaceAll(const StopToken* stop) {
        visits_ = planVisits(files_, true);
        const std::size_t done = runInOrder<Prepared>(
            files_.size(), threads_, 4 * threads_,
            [this](unsigned worker, std::size_t i) { return prepare(*tools_[worker], i, false); },
            [this](std::size_t i, Prepared& prepared) {
                take(i, prepared);
                return !queue_.stopped();
            },
            stop);
        queue_.commit();
        return done == files_.size() && !queue_.stopped();
    }

    // After a failure: the files before it are finished; a failure while finishing them is the
    // one a one-thread run would have met first.
    void finishBeforeFailure() { queue_.commit(); }

    // The run's backups, when it makes any; chosen before the first file.
    std::optional<RunBackups>& backups() { return backups_; }

  private:
    // Everything up to the new content in a temporary file; the file itself is not touched. A
    // file too large for the memory left is that file's failure, never the program's end.
    Prepared prepare(WorkerTools& own, std::size_t i, bool writableNow) {
        try {
            return prepareFile(own, i, writableNow);
        } catch (const std::bad_alloc&) {
            throw outOfMemory(files_[i].path);
        }
    }

    Prepared prepareFile(WorkerTools& own, std::size_t i, bool writableNow) {
        const std::u16string& path = files_[i].path;
        Prepared prepared;
        if (!files_[i].ticked) return prepared;
        if (passedBy(visits_[i])) return Prepared::of(Prepared::Kind::PassedBy);
        if (passOutsideLink(visits_[i], settings_.followLinks))
            return Prepared::of(Prepared::Kind::OutsideLink);
        if (!writableNow && isReadOnly(path)) return Prepared::of(Prepared::Kind::ReadOnly);
        // Taken before the read: any change after it shows at the rename.
        const std::optional<FileStamp> stamp = stampOf(path);
        const LargeFileTurn turn(path, own.reader);
        const std::u16string_view text = own.reader.read(path);
        if (own.reader.binary() && !settings_.reading.binaryAsText)
            return Prepared::of(Prepared::Kind::Binary);
        if (settings_.countMatches) {
            prepared.count = own.reader.absent() ? 0 : own.expr.count(text);
            if (*prepared.count == 0) {
                prepared.kind = Prepared::Kind::NoMatch;
                return prepared;
            }
        }
        const std::u16string replaced = own.expr.replace(text, replacement_);
        // A text the replace leaves as it was is not written: the file keeps its time.
        if (replaced == text) {
            prepared.kind = Prepared::Kind::Unchanged;
            return prepared;
        }
        const TextFormat format = own.reader.format();
        if (auto cause = cannotHoldCause(path, replaced, format.encoding)) {
            prepared.kind = Prepared::Kind::CannotHold;
            prepared.cannotHoldCause = std::move(*cause);
            return prepared;
        }
        ReplaceRules rules;
        rules.mustExist = true;
        rules.expected = stamp;
        prepared.pending = writePending(path, encodeText(replaced, format), rules, output_);
        prepared.kind = Prepared::Kind::Write;
        return prepared;
    }

    // Turns the file's preparation into its step, in listing order.
    void take(std::size_t i, Prepared& prepared) {
        const std::u16string& path = files_[i].path;
        FileStep step;
        step.outcome = {i + 1, path, u"", u"", prepared.count};
        if (prepared.count)
            step.outcome.matchesCell = decimal(static_cast<long long>(*prepared.count));
        switch (prepared.kind) {
            case Prepared::Kind::Unticked:
                step.outcome = {i + 1, path, u"-", u"Passed", std::nullopt};
                break;
            case Prepared::Kind::PassedBy:
                step.notes.push_back({false, visitNote(path, visits_[i]), u""});
                step.outcome = {i + 1, path, u"-", std::u16string(kSameFileStatus), std::nullopt};
                break;
            case Prepared::Kind::OutsideLink:
                step.notes.push_back({false, outsideLinkNote(path, visits_[i]), u""});
                step.outcome = {i + 1, path, u"-", std::u16string(kOutsideLinkStatus),
                                std::nullopt};
                break;
            case Prepared::Kind::ReadOnly:
                queue_.commit();  // the question comes after the files before this one
                if (!writable(path)) {
                    step.outcome.matchesCell = u"-1";
                    step.outcome.statusCell = u" Read only";
                    break;
                }
                madeWritable_[i] = true;
                prepared = prepare(*tools_.back(), i, true);
                return take(i, prepared);
            case Prepared::Kind::Binary:
                step.outcome.matchesCell = u"-";
                step.outcome.skipped = FileSkip::Binary;
                ++binarySkipped;
                break;
            case Prepared::Kind::NoMatch:
                step.outcome.statusCell = u" Passed";
                break;
            case Prepared::Kind::Unchanged:
                if (!prepared.count) step.outcome.matchesCell = u"-";
                step.outcome.statusCell = u" Passed";
                break;
            case Prepared::Kind::CannotHold:
                if (!prepared.count) step.outcome.matchesCell = u"-";
                step.outcome.skipped = FileSkip::CannotHoldText;
                ++cannotHold;
                step.notes.push_back(
                    {true, std::u16string(kCannotHoldMessage), prepared.cannotHoldCause});
                break;
            case Prepared::Kind::Write:
                if (!prepared.count) {
                    step.outcome.matchesCell = u"-";
                    rewroteUncounted = true;
                }
                if (visits_[i].kind == VisitKind::LinkOutside)
                    step.notes.push_back({false, visitNote(path, visits_[i]), u""});
                step.pending = std::move(prepared.pending);
                break;
        }
        queue_.add(std::move(step));
    }

    CommitQueue::Hooks hooks() {
        CommitQueue::Hooks hooks;
        // The backups are chosen after the queue is made: each hook looks at them when called.
        hooks.beforePlacing = [this](std::vector<FileStep>& steps) {
            if (backups_) backups_->backUp(steps);
        };
        hooks.dropped = [this](FileStep& step) {
            if (backups_) backups_->dropped(step);
        };
        hooks.placed = [this](FileStep& step) {
            if (backups_) backups_->placed(step, madeWritable_[step.outcome.row - 1]);
            ++replacedFiles;
            step.outcome.statusCell = u" Replaced";
        };
        hooks.changedElsewhere = [this](FileStep& step) {
            if (backups_) backups_->changedElsewhere(step);
            ++changedElsewhere;
            step.outcome.statusCell = std::u16string(kChangedElsewhereStatus);
        };
        return hooks;
    }

    bool writable(const std::u16string& path) {
        if (!isReadOnly(path)) return true;
        if (!asked_) {
            allowed_ = readOnly_.makeWritable();
            asked_ = true;
        }
        if (!allowed_) return false;
        clearReadOnly(path);
        return true;
    }

    std::u16string_view replacement_;
    const std::vector<FileItem>& files_;
    const ReplaceSettings& settings_;
    ReadOnlyQuestion& readOnly_;
    FileOutput& output_;
    const unsigned threads_ = workerThreads();
    const std::optional<BytePrefilter> filter_;
    std::vector<std::unique_ptr<WorkerTools>> tools_;
    CommitQueue queue_;
    std::vector<FileVisit> visits_;
    std::vector<bool> madeWritable_ = std::vector<bool>(files_.size(), false);
    std::optional<RunBackups> backups_;
    bool asked_ = false;
    bool allowed_ = false;
};

bool isPatternFailure(const Error& error) {
    return dynamic_cast<const RegExpError*>(&error) ||
           dynamic_cast<const ReplaceTooLarge*>(&error) ||
           dynamic_cast<const SearchStopped*>(&error);
}

}  // namespace

std::optional<std::u16string> cannotHoldCause(const std::u16string& path, std::u16string_view text,
                                              TextEncoding encoding) {
    const auto character = unholdableCharacter(text, encoding);
    if (!character) return std::nullopt;
    return path + u": " + fromUtf8(cannotHoldMessage(*character, encoding));
}

ReplaceSummary ReplaceAllFiles(const RegExp& expr, std::u16string_view replacement,
                               const std::vector<FileItem>& files, const ReplaceSettings& settings,
                               ReadOnlyQuestion& readOnly, FileSink& sink, const StopToken* stop) {
    ReplaceSummary summary;
    // One run or restore at a time in a folder, from the window and the command line alike.
    const FolderLock lock(settings.currentFolder);
    if (!lock.held()) {
        summary.busy = true;
        sink.logError(kFolderBusyMessage, settings.currentFolder);
        return summary;
    }
    Run run(expr, replacement, files, settings, readOnly, sink, stop);
    try {
        if (settings.backup) {
            // A refused backup folder stops the run before any file is touched.
            run.backups().emplace(settings.currentFolder, settings.backupFolderName,
                                  settings.goOnWithUnfinished, u"replace", settings.keepSteps);
            if (!run.backups()->ready(sink)) {
                summary.unfinishedRun = true;
                return summary;
            }
        }
        removeStaleTemporaries(settings.currentFolder);
        if (!run.replaceAll(stop)) {
            if (run.backups()) run.backups()->finish();
            summary.stopped = true;
            summary.replacedFiles = run.replacedFiles;
            return summary;
        }
    } catch (const Error& error) {
        std::u16string cause = fromUtf8(error.what());
        bool patternFailed = isPatternFailure(error);
        try {
            run.finishBeforeFailure();
        } catch (const Error& earlier) {
            cause = fromUtf8(earlier.what());
            patternFailed = isPatternFailure(earlier);
        }
        summary.replacedFiles = run.replacedFiles;
        sink.logError(patternFailed ? kSearchErrorMessage : kFileErrorMessage, cause);
        // The journal stays unfinished: the next run is refused until the folder is restored.
        if (run.backups()) run.backups()->failed();
        return summary;
    }
    if (run.backups()) run.backups()->finish();
    summary.replacedFiles = run.replacedFiles;
    summary.changedElsewhere = run.changedElsewhere;
    summary.ok = run.changedElsewhere == 0;
    summary.binarySkipped = run.binarySkipped;
    summary.cannotHold = run.cannotHold;
    // A run that left files to another program does not call itself a success.
    if (run.rewroteUncounted && run.changedElsewhere == 0)
        sink.logLine(u"Files replaced successfully.");
    else
        sink.logLine(decimal(static_cast<long long>(run.replacedFiles)) + u" files replaced in " +
                     decimal(static_cast<long long>(files.size())) + u" files.");
    if (run.binarySkipped > 0) sink.logLine(binarySkippedLine(run.binarySkipped));
    if (run.changedElsewhere > 0) {
        sink.logError(kChangedElsewhereMessage,
                      decimal(static_cast<long long>(run.changedElsewhere)) + u" file(s).");
        return summary;
    }
    sink.showStatus(u"Done.");
    return summary;
}

}  // namespace lodestar
