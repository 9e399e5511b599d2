// Applying a command file to every file of a folder: files prepared on worker threads, put in
// place in listing order.
#include "runs/batch_files.h"

#include <sys/stat.h>

#include <algorithm>
#include <exception>
#include <new>
#include <optional>

#include "backups/backup.h"
#include "backups/backup_link.h"
#include "backups/backup_paths.h"
#include "backups/commit_queue.h"
#include "backups/folder_lock.h"
#include "backups/run_backups.h"
#include "core/ordered_work.h"
#include "core/text.h"
#include "files/file_identity.h"
#include "files/folder_listing.h"
#include "files/folder_visits.h"
#include "files/safe_write.h"
#include "runs/multi_replace.h"
#include "runs/multi_search.h"
#include "runs/out_of_memory.h"
#include "runs/outside_links.h"
#include "runs/worker_tools.h"

namespace lodestar {

namespace {

// Whether a read-only file may be written: asked once per run, as the replace asks.
class ReadOnlyPolicy {
  public:
    explicit ReadOnlyPolicy(ReadOnlyQuestion* question) : question_(question) {}
    bool writable(const std::u16string& path) {
        if (!isReadOnly(path)) return true;
        if (!question_) throw fileFailure("Cannot write the file", path, "it is read-only");
        if (!asked_) {
            allowed_ = question_->makeWritable();
            asked_ = true;
        }
        if (allowed_) clearReadOnly(path);
        return allowed_;
    }

  private:
    ReadOnlyQuestion* question_;
    bool asked_ = false;
    bool allowed_ = false;
};

struct Prepared {
    enum class Kind { Unticked, PassedBy, OutsideLink, ReadOnly, Binary, CannotHold, Done };
    Kind kind = Kind::Done;
    std::optional<PendingReplace> pending;  // none when the text stays as it was
    std::u16string cannotHoldCause;
    std::exception_ptr failure;  // rethrown in order, after the file's note
};

// True when the file has no other name, so leaving it unwritten leaves no backup sharing it.
bool onlyName(const std::u16string& path) {
    struct stat info {};
    return ::stat(toUtf8(path).c_str(), &info) == 0 && info.st_nlink == 1;
}

struct WorkerChain {
    WorkerChain(const CommandChain& commands, const TextReading& reading)
        : chain(commands), reader(reading) {}
    CommandChain chain;
    ReusableTextReader reader;
};

// The run itself. With `backups` the run backs up exactly the files it rewrites, just before
// each is put in place; otherwise `backupFolder` names the backups the caller made beforehand.
bool batchRun(const std::vector<Command>& commands, RegExp& expr,
              const std::vector<FileItem>& files, FileSink& sink, const TextReading& reading,
              ReadOnlyQuestion* readOnly, const StopToken* stop, std::u16string_view backupFolder,
              std::u16string_view currentFolder, RunBackups* backups, bool followLinks) {
    ReadOnlyPolicy policy(readOnly);
    const std::vector<FileVisit> visits = planVisits(files, false);
    const unsigned threads = workerThreads();
    const CommandChain chain(commands, expr);
    std::vector<std::unique_ptr<WorkerChain>> tools;
    for (unsigned t = 0; t <= threads; ++t)  // one more for the files the run prepares itself
        tools.push_back(std::make_unique<WorkerChain>(chain, reading));
    std::size_t changedElsewhere = 0;
    std::size_t binarySkipped = 0;
    std::size_t cannotHold = 0;
    std::size_t unticked = 0;
    bool applied = false;
    bool backedUpAny = false;
    std::size_t passed = 0;  // read-only files left alone and second names: not replaced
    std::vector<bool> madeWritable(files.size(), false);
    const std::u16string folder(backupFolder);

    const auto prepare = [&](WorkerChain& own, std::size_t i, bool writableNow) {
        const std::u16string& path = files[i].path;
        Prepared prepared;
        if (!files[i].ticked) {
            prepared.kind = Prepared::Kind::Unticked;
            return prepared;
        }
        if (passedBy(visits[i])) {
            prepared.kind = Prepared::Kind::PassedBy;
            return prepared;
        }
        if (passOutsideLink(visits[i], followLinks)) {
            prepared.kind = Prepared::Kind::OutsideLink;
            return prepared;
        }
        try {
            if (!writableNow && isReadOnly(path)) {
                prepared.kind = Prepared::Kind::ReadOnly;
                return prepared;
            }
            // Taken before the read: any change after it shows at the rename.
            const std::optional<FileStamp> stamp = stampOf(path);
            const LargeFileTurn turn(path, own.reader);
            const std::u16string_view text = own.reader.read(path);
            if (own.reader.binary() && !reading.binaryAsText) {
                prepared.kind = Prepared::Kind::Binary;
                return prepared;
            }
            const std::u16string result = own.chain.apply(text);
            const TextFormat format = own.reader.format();
            if (auto cause = cannotHoldCause(path, result, format.encoding)) {
                prepared.kind = Prepared::Kind::CannotHold;
                prepared.cannotHoldCause = std::move(*cause);
                return prepared;
            }
            if (result == text) {
                // Not written: the file keeps its time. A backup the caller made by a link
                // becomes a copy, so it stays the old file whatever later happens to this one.
                if (!folder.empty() && !onlyName(path))
                    detachBackup(path, folder + backupNameOf(currentFolder, path));
                return prepared;
            }
            ReplaceRules rules;
            rules.mustExist = true;
            rules.expected = stamp;
            prepared.pending = writePending(path, encodeText(result, format), rules);
        } catch (const std::bad_alloc&) {
            // Too large for the memory left: this file's failure, never the program's end.
            prepared.failure = std::make_exception_ptr(outOfMemory(path));
        } catch (...) {
            prepared.failure = std::current_exception();
        }
        return prepared;
    };

    CommitQueue::Hooks hooks;
    hooks.changedElsewhere = [&](FileStep& step) {
        // The file stays as the other program left it; its backup stops being the file itself.
        if (backups)
            backups->changedElsewhere(step);
        else if (!folder.empty())
            detachBackup(step.outcome.path,
                         folder + backupNameOf(currentFolder, step.outcome.path));
        ++changedElsewhere;
        step.outcome.statusCell = std::u16string(kChangedElsewhereStatus);
    };
    if (backups) {
        hooks.beforePlacing = [&](std::vector<FileStep>& steps) {
            const bool first = !backedUpAny;
            backups->backUp(steps);
            backedUpAny = std::any_of(steps.begin(), steps.end(),
                                      [](const FileStep& step) { return step.backedUp; }) ||
                          backedUpAny;
            if (first && backedUpAny) sink.logLine(u"Files backed up successfully.");
        };
        hooks.placed = [&](FileStep& step) {
            backups->placed(step, madeWritable[step.outcome.row - 1]);
        };
        hooks.dropped = [&](FileStep& step) { backups->dropped(step); };
    }
    CommitQueue queue(sink, hooks, stop);

    std::function<void(std::size_t, Prepared&)> take = [&](std::size_t i, Prepared& prepared) {
        const std::u16string& path = files[i].path;
        FileStep step;
        step.outcome = {i + 1, path, u" -", u" Batch Replaced.", std::nullopt};
        if (prepared.kind == Prepared::Kind::Unticked) {
            step.outcome = {i + 1, path, u"-", u"Passed", std::nullopt};
            ++unticked;
            return queue.add(std::move(step));
        }
        if (prepared.kind == Prepared::Kind::PassedBy) {
            step.notes.push_back({false, visitNote(path, visits[i]), u""});
            step.outcome = {i + 1, path, u"-", std::u16string(kSameFileStatus), std::nullopt};
            ++passed;
            return queue.add(std::move(step));
        }
        if (prepared.kind == Prepared::Kind::OutsideLink) {
            step.notes.push_back({false, outsideLinkNote(path, visits[i]), u""});
            step.outcome = {i + 1, path, u"-", std::u16string(kOutsideLinkStatus), std::nullopt};
            ++passed;
            return queue.add(std::move(step));
        }
        if (prepared.kind == Prepared::Kind::ReadOnly) {
            queue.commit();  // a refusal here must come after the files before it
            if (!policy.writable(path)) {
                step.outcome = {i + 1, path, u"-1", u" Read only", std::nullopt};
                ++passed;
                return queue.add(std::move(step));
            }
            madeWritable[i] = true;
            prepared = prepare(*tools.back(), i, true);
            return take(i, prepared);
        }
        if (visits[i].kind == VisitKind::LinkOutside)
            step.notes.push_back({false, visitNote(path, visits[i]), u""});
        if (prepared.failure) {
            queue.commit();
            for (const FileNote& note : step.notes) sink.logLine(note.message);
            std::rethrow_exception(prepared.failure);
        }
        if (prepared.kind == Prepared::Kind::Binary) {
            step.outcome = {i + 1, path, u"-", u"", std::nullopt, FileSkip::Binary};
            ++binarySkipped;
        } else if (prepared.kind == Prepared::Kind::CannotHold) {
            step.outcome = {i + 1, path, u"-", u"", std::nullopt, FileSkip::CannotHoldText};
            ++cannotHold;
            step.notes.push_back(
                {true, std::u16string(kCannotHoldMessage), prepared.cannotHoldCause});
            applied = true;
        } else {
            step.pending = std::move(prepared.pending);
            applied = true;
        }
        queue.add(std::move(step));
    };

    bool finished = false;
    try {
        const std::size_t done = runInOrder<Prepared>(
            files.size(), threads, 4 * threads,
            [&](unsigned worker, std::size_t i) { return prepare(*tools[worker], i, false); },
            [&](std::size_t i, Prepared& prepared) {
                take(i, prepared);
                return !queue.stopped();
            },
            stop);
        queue.commit();
        finished = done == files.size() && !queue.stopped();
    } catch (const Error& error) {
        std::u16string cause = fromUtf8(error.what());
        try {
            queue.commit();
        } catch (const Error& earlier) {
            cause = fromUtf8(earlier.what());
        }
        if (applied) chain.leaveLastOn(expr);
        sink.logError(kBatchErrorMessage, cause);
        // The journal stays unfinished: the next run is refused until the folder is restored.
        if (backups) backups->failed();
        return false;
    }
    if (backups) backups->finish();
    if (applied) chain.leaveLastOn(expr);
    if (!finished) return false;
    // Files left to another program were not replaced, and the run then is no success.
    const std::size_t replaced =
        files.size() - binarySkipped - cannotHold - passed - unticked - changedElsewhere;
    sink.logLine(decimal(static_cast<long long>(replaced)) +
                 (changedElsewhere == 0 ? u" files batch replaced successfully."
                                        : u" files batch replaced."));
    if (binarySkipped > 0) sink.logLine(binarySkippedLine(binarySkipped));
    if (changedElsewhere > 0) {
        sink.logError(kChangedElsewhereMessage,
                      decimal(static_cast<long long>(changedElsewhere)) + u" file(s).");
        return false;
    }
    sink.showStatus(u"Done.");
    return cannotHold == 0;
}

}  // namespace
}  // namespace lodestar

namespace lodestar {

bool BatchAllFiles(const std::vector<Command>& commands, RegExp& expr,
                   const std::vector<FileItem>& files, FileSink& sink, const TextReading& reading,
                   ReadOnlyQuestion* readOnly, const StopToken* stop,
                   std::u16string_view backupFolder, std::u16string_view currentFolder) {
    return batchRun(commands, expr, files, sink, reading, readOnly, stop, backupFolder,
                    currentFolder, nullptr, false);
}

BatchSummary BatchFolder(const std::vector<Command>& commands, RegExp& expr,
                         const std::vector<FileItem>& files, const BatchSettings& settings,
                         FileSink& sink, ReadOnlyQuestion* readOnly, const StopToken* stop) {
    BatchSummary summary;
    const FolderLock lock(settings.currentFolder);
    if (!lock.held()) {
        summary.busy = true;
        sink.logError(kFolderBusyMessage, settings.currentFolder);
        return summary;
    }
    std::optional<RunBackups> backups;
    if (settings.backup) {
        try {
            backups.emplace(settings.currentFolder, settings.backupFolderName,
                            settings.goOnWithUnfinished, u"batch", settings.keepSteps);
            if (!backups->ready(sink)) {
                summary.unfinishedRun = true;
                return summary;
            }
        } catch (const Error& error) {
            sink.logError(kBackupFailedMessage, fromUtf8(error.what()));
            return summary;
        }
    }
    summary.ok =
        batchRun(commands, expr, files, sink, settings.reading, readOnly, stop, u"",
                 settings.currentFolder, backups ? &*backups : nullptr, settings.followLinks);
    return summary;
}

}  // namespace lodestar
