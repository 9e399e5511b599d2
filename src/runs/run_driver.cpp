// The one loop of the replace and the batch run: files prepared on worker threads, put in place
// in listing order, stopping at the first failure.
#include "runs/run_driver.h"

#include <algorithm>
#include <exception>
#include <new>

#include "backups/backup.h"
#include "backups/commit_queue.h"
#include "backups/folder_lock.h"
#include "backups/run_backups.h"
#include "core/ordered_work.h"
#include "core/text.h"
#include "files/file_identity.h"
#include "files/file_ops.h"
#include "files/folder_visits.h"
#include "files/safe_write.h"
#include "runs/multi_search.h"
#include "runs/out_of_memory.h"
#include "runs/outside_links.h"
#include "runs/reusable_reader.h"
#include "search/regexp.h"

namespace lodestar {

namespace {

// What a worker found out about one file, and its new content waiting in a temporary file (or,
// in a preview, in memory).
struct Prepared {
    FileResult result = FileResult::Unticked;
    std::optional<std::size_t> count;
    std::optional<PendingReplace> pending;
    std::optional<FilePreview> preview;
    std::u16string cannotHoldCause;
    bool transformed = false;
    std::exception_ptr failure;  // rethrown in order, after the files before it are done
};

Prepared of(FileResult result) {
    Prepared prepared;
    prepared.result = result;
    return prepared;
}

// What each thread works with: its own transform and its own reader with its kept buffers.
struct Worker {
    Worker(const TextTransform& transform, const TextReading& reading,
           const std::optional<BytePrefilter>& filter)
        : own(transform.copy()), reader(reading) {
        if (filter) reader.setPrefilter(&*filter);
    }
    std::unique_ptr<TextTransform> own;
    ReusableTextReader reader;
};

class Run {
  public:
    Run(const std::vector<FileItem>& files, const TextTransform& transform,
        const RunSettings& settings, FileSink& sink, ReadOnlyQuestion* readOnly,
        const StopToken* stop, const std::function<void(FilePreview)>* preview)
        : files_(files),
          kind_(transform.run()),
          counts_(transform.counts()),
          settings_(settings),
          sink_(sink),
          readOnly_(readOnly),
          preview_(preview),
          output_(settings.output ? *settings.output : systemFileOutput()),
          filter_(counts_ ? transform.prefilter() : std::nullopt),
          queue_(sink, hooks(), stop, output_) {
        // One set per worker, and one for the files the run itself prepares.
        for (unsigned t = 0; t <= threads_; ++t)
            workers_.push_back(std::make_unique<Worker>(transform, settings.reading, filter_));
    }

    RunSummary summary;

    // Runs over the files; answers false when a stop request ended it early. Throws the first
    // failure, after the files before it are done.
    bool runAll(const StopToken* stop) {
        visits_ = planVisits(files_, true);
        const std::size_t done = runInOrder<Prepared>(
            files_.size(), threads_, 4 * threads_,
            [this](unsigned worker, std::size_t i) { return prepare(*workers_[worker], i, false); },
            [this](std::size_t i, Prepared& prepared) {
                take(i, prepared);
                return !queue_.stopped();
            },
            stop);
        queue_.commit();
        return done == files_.size() && !queue_.stopped();
    }

    // After a failure: the files before it are finished.
    void finishBeforeFailure() { queue_.commit(); }

    // The run's backups, when it makes any; chosen before the first file.
    std::optional<RunBackups>& backups() { return backups_; }

  private:
    // Everything up to the new content in a temporary file; the file itself is not touched. A
    // file too large for the memory left is that file's failure, never the program's end.
    Prepared prepare(Worker& worker, std::size_t i, bool writableNow) {
        const std::u16string& path = files_[i].path;
        if (!files_[i].ticked) return of(FileResult::Unticked);
        if (passedBy(visits_[i])) return of(FileResult::SameFile);
        if (passOutsideLink(visits_[i], settings_.followLinks)) return of(FileResult::OutsideLink);
        Prepared prepared;
        try {
            const bool previewedAsWritable = preview_ && settings_.previewReadOnly;
            if (!writableNow && !previewedAsWritable && isReadOnly(path))
                return of(FileResult::ReadOnly);
            prepareText(worker, path, prepared);
        } catch (const std::bad_alloc&) {
            prepared.failure = std::make_exception_ptr(outOfMemory(path));
        } catch (...) {
            prepared.failure = std::current_exception();
        }
        if (prepared.preview) prepared.preview->row = i + 1;
        return prepared;
    }

    void prepareText(Worker& worker, const std::u16string& path, Prepared& prepared) {
        // Taken before the read: any change after it shows at the rename.
        const std::optional<FileStamp> stamp = stampOf(path);
        const LargeFileTurn turn(path, worker.reader);
        const std::u16string_view text = worker.reader.read(path);
        if (worker.reader.binary() && !settings_.reading.binaryAsText) {
            prepared.result = FileResult::Binary;
            return;
        }
        prepared.result = FileResult::Unchanged;
        if (counts_) {
            prepared.count = worker.reader.absent() ? 0 : worker.own->count(text);
            if (*prepared.count == 0) return;
        }
        std::optional<std::u16string> refusedOrNew = worker.own->applyTo(path, text);
        prepared.transformed = true;
        if (!refusedOrNew) {
            prepared.result = FileResult::ChangedElsewhere;
            return;
        }
        std::u16string changed = std::move(*refusedOrNew);
        // A text the run leaves as it was is not written: the file keeps its time.
        if (changed == text) return;
        const TextFormat format = worker.reader.format();
        if (auto cause = cannotHoldCause(path, changed, format.encoding)) {
            prepared.result = FileResult::CannotHoldText;
            prepared.cannotHoldCause = std::move(*cause);
            return;
        }
        if (preview_) {
            std::string bytes = settings_.previewBytes ? encodeText(changed, format) : "";
            prepared.result = FileResult::Previewed;
            prepared.preview = FilePreview{
                0, path, std::u16string(text), std::move(changed), format, std::move(bytes)};
            return;
        }
        const std::string bytes = encodeText(changed, format);
        ReplaceRules rules;
        rules.mustExist = true;
        rules.expected = stamp;
        prepared.pending = writePending(path, bytes, rules, output_);
        prepared.result = FileResult::Written;
    }

    // Turns the file's preparation into its step, in listing order.
    void take(std::size_t i, Prepared& prepared) {
        const std::u16string& path = files_[i].path;
        FileStep step;
        if (prepared.failure) {
            // The files before it are finished first, then its note and its failure.
            queue_.commit();
            if (visits_[i].kind == VisitKind::LinkOutside)
                sink_.logLine(visitNote(path, visits_[i]));
            std::rethrow_exception(prepared.failure);
        }
        step.outcome = {i + 1, path, prepared.result, prepared.count, kind_};
        if (prepared.transformed) ++summary.transformed;
        switch (prepared.result) {
            case FileResult::SameFile:
                step.notes.push_back({false, visitNote(path, visits_[i]), u""});
                break;
            case FileResult::OutsideLink:
                step.notes.push_back({false, outsideLinkNote(path, visits_[i]), u""});
                break;
            case FileResult::ReadOnly:
                if (preview_) break;
                queue_.commit();  // the question comes after the files before this one
                if (!writable(path)) break;
                madeWritable_[i] = true;
                prepared = prepare(*workers_.back(), i, true);
                return take(i, prepared);
            case FileResult::Binary:
                ++summary.binarySkipped;
                break;
            case FileResult::CannotHoldText:
                ++summary.cannotHold;
                step.notes.push_back(
                    {true, std::u16string(kCannotHoldMessage), prepared.cannotHoldCause});
                break;
            case FileResult::Unchanged:
                ++summary.unchanged;
                break;
            case FileResult::ChangedElsewhere:
                ++summary.changedElsewhere;
                break;
            case FileResult::Previewed:
                ++summary.previewed;
                (*preview_)(std::move(*prepared.preview));
                break;
            case FileResult::Written:
                if (visits_[i].kind == VisitKind::LinkOutside)
                    step.notes.push_back({false, visitNote(path, visits_[i]), u""});
                step.pending = std::move(prepared.pending);
                break;
            default:
                break;
        }
        queue_.add(std::move(step));
    }

    CommitQueue::Hooks hooks() {
        CommitQueue::Hooks hooks;
        // The backups are chosen after the queue is made: each hook looks at them when called.
        hooks.beforePlacing = [this](std::vector<FileStep>& steps) {
            if (!backups_) return;
            backups_->backUp(steps);
            const bool any = std::any_of(steps.begin(), steps.end(),
                                         [](const FileStep& step) { return step.backedUp; });
            // The batch run says once that the files are safe.
            if (any && !backedUpAny_ && kind_ == FileRun::Batch)
                sink_.logLine(u"Files backed up successfully.");
            backedUpAny_ = backedUpAny_ || any;
        };
        hooks.dropped = [this](FileStep& step) {
            if (backups_) backups_->dropped(step);
        };
        hooks.placed = [this](FileStep& step) {
            if (backups_) backups_->placed(step, madeWritable_[step.outcome.row - 1]);
            ++summary.written;
        };
        hooks.changedElsewhere = [this](FileStep& step) {
            if (backups_) backups_->changedElsewhere(step);
            ++summary.changedElsewhere;
            step.outcome.result = FileResult::ChangedElsewhere;
        };
        return hooks;
    }

    bool writable(const std::u16string& path) {
        if (!isReadOnly(path)) return true;
        if (!readOnly_) throw fileFailure("Cannot write the file", path, "it is read-only");
        if (!asked_) {
            allowed_ = readOnly_->makeWritable();
            asked_ = true;
        }
        if (!allowed_) return false;
        clearReadOnly(path);
        return true;
    }

    const std::vector<FileItem>& files_;
    const FileRun kind_;
    const bool counts_;
    const RunSettings& settings_;
    FileSink& sink_;
    ReadOnlyQuestion* readOnly_;
    const std::function<void(FilePreview)>* preview_;
    FileOutput& output_;
    const unsigned threads_ = workerThreads();
    const std::optional<BytePrefilter> filter_;
    std::vector<std::unique_ptr<Worker>> workers_;
    CommitQueue queue_;
    std::vector<FileVisit> visits_;
    std::vector<bool> madeWritable_ = std::vector<bool>(files_.size(), false);
    std::optional<RunBackups> backups_;
    bool backedUpAny_ = false;
    bool asked_ = false;
    bool allowed_ = false;
};

bool isPatternFailure(const Error& error) {
    return dynamic_cast<const RegExpError*>(&error) ||
           dynamic_cast<const ReplaceTooLarge*>(&error) ||
           dynamic_cast<const SearchStopped*>(&error);
}

std::u16string_view failureHeading(FileRun kind, const Error& error) {
    if (kind == FileRun::Batch) return kBatchErrorMessage;
    return isPatternFailure(error) ? kSearchErrorMessage : kFileErrorMessage;
}

// Logs the failure that ended the run after the files before it are finished; a failure while
// finishing them is the one a one-thread run would have met first.
void logFailure(Run& run, FileRun kind, const Error& error, FileSink& sink) {
    std::u16string cause = fromUtf8(error.what());
    std::u16string_view heading = failureHeading(kind, error);
    try {
        run.finishBeforeFailure();
    } catch (const Error& earlier) {
        cause = fromUtf8(earlier.what());
        heading = failureHeading(kind, earlier);
    }
    sink.logError(heading, cause);
}

std::u16string number(std::size_t value) {
    return decimal(static_cast<long long>(value));
}

// The closing log line of a run that went through every file.
void closingLines(FileRun kind, bool counted, const RunSummary& summary, std::size_t files,
                  FileSink& sink) {
    const bool clean = summary.changedElsewhere == 0;
    if (kind == FileRun::Batch)
        // Files left to another program were not replaced, and the run then is no success.
        sink.logLine(number(summary.written + summary.unchanged) +
                     (clean ? u" files batch replaced successfully." : u" files batch replaced."));
    else if (!counted && summary.written > 0 && clean)
        sink.logLine(u"Files replaced successfully.");
    else
        sink.logLine(number(summary.written) + u" files replaced in " + number(files) + u" files.");
    if (summary.binarySkipped > 0) sink.logLine(binarySkippedLine(summary.binarySkipped));
    if (!clean) {
        sink.logError(kChangedElsewhereMessage, number(summary.changedElsewhere) + u" file(s).");
        return;
    }
    sink.showStatus(u"Done.");
}

}  // namespace

std::optional<std::u16string> cannotHoldCause(const std::u16string& path, std::u16string_view text,
                                              TextEncoding encoding) {
    const auto character = unholdableCharacter(text, encoding);
    if (!character) return std::nullopt;
    return path + u": " + fromUtf8(cannotHoldMessage(*character, encoding));
}

RunSummary runFolder(const std::vector<FileItem>& files, const TextTransform& transform,
                     const RunSettings& settings, FileSink& sink, ReadOnlyQuestion* readOnly,
                     const StopToken* stop) {
    const FileRun kind = transform.run();
    // One run or restore at a time in a folder, from the window and the command line alike.
    const FolderLock lock(settings.currentFolder);
    if (!lock.held()) {
        RunSummary busy;
        busy.busy = true;
        sink.logError(kFolderBusyMessage, settings.currentFolder);
        return busy;
    }
    Run run(files, transform, settings, sink, readOnly, stop, nullptr);
    if (settings.backup) {
        try {
            // A refused backup folder stops the run before any file is touched.
            run.backups().emplace(
                settings.currentFolder, settings.backupFolderName, settings.goOnWithUnfinished,
                kind == FileRun::Batch ? u"batch" : u"replace", settings.keepSteps);
            if (!run.backups()->ready(sink)) {
                run.summary.unfinishedRun = true;
                return run.summary;
            }
        } catch (const Error& error) {
            sink.logError(kind == FileRun::Batch ? kBackupFailedMessage : kFileErrorMessage,
                          fromUtf8(error.what()));
            return run.summary;
        }
    }
    try {
        removeStaleTemporaries(settings.currentFolder);
        if (!run.runAll(stop)) {
            if (run.backups()) run.backups()->finish();
            run.summary.stopped = true;
            return run.summary;
        }
    } catch (const Error& error) {
        logFailure(run, kind, error, sink);
        // The journal stays unfinished: the next run is refused until the folder is restored.
        if (run.backups()) run.backups()->failed();
        return run.summary;
    }
    if (run.backups()) run.backups()->finish();
    run.summary.ok = run.summary.changedElsewhere == 0;
    closingLines(kind, transform.counts(), run.summary, files.size(), sink);
    return run.summary;
}

RunSummary previewFolder(const std::vector<FileItem>& files, const TextTransform& transform,
                         const RunSettings& settings, FileSink& sink,
                         const std::function<void(FilePreview)>& preview, const StopToken* stop) {
    Run run(files, transform, settings, sink, nullptr, stop, &preview);
    try {
        run.summary.stopped = !run.runAll(stop);
    } catch (const Error& error) {
        logFailure(run, transform.run(), error, sink);
        return run.summary;
    }
    run.summary.ok = !run.summary.stopped;
    return run.summary;
}

}  // namespace lodestar
