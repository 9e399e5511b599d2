// The files of a folder run on their way to the disk. Worker threads write each file's new
// content to a temporary file; the run hands every file's step to the queue in listing order;
// the queue holds them until a batch is full, makes the batch's temporary files durable together
// (one flush instead of one per file), and then, file by file in order, logs the file's notes,
// renames its new content over it and reports its outcome. A file is never half-written: until
// its rename it is untouched, and the rename is one step.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/stop_token.h"
#include "files/file_sink.h"
#include "files/safe_write.h"

namespace lodestar {

// A log line or error entry that belongs before a file's outcome.
struct FileNote {
    bool error = false;
    std::u16string message;
    std::u16string cause;
};

struct FileStep {
    std::vector<FileNote> notes;            // logged first, in this order
    std::optional<PendingReplace> pending;  // the new content; none when the file stays as it is
    FileOutcome outcome;
    bool backedUp = false;  // for the run's own use: a backup was made for this change
};

class CommitQueue {
  public:
    struct Hooks {
        // Called with the batch's steps once their new contents are durable, before any of
        // them is put in place (the run backs the files up here).
        std::function<void(std::vector<FileStep>&)> beforePlacing;
        std::function<void(FileStep&)> placed;            // the new content is in place
        std::function<void(FileStep&)> changedElsewhere;  // another program changed the file
        // A stop dropped this step after beforePlacing saw it: the file stays as it is.
        std::function<void(FileStep&)> dropped;
    };

    // A requested `stop` ends the run before the next file is put in place: that file and those
    // after it are dropped, untouched, as a one-thread run would not have reached them.
    CommitQueue(FileSink& sink, Hooks hooks, const StopToken* stop,
                FileOutput& output = systemFileOutput());
    ~CommitQueue();
    CommitQueue(const CommitQueue&) = delete;
    CommitQueue& operator=(const CommitQueue&) = delete;

    // Queues the next file's step; a full batch is committed at once.
    void add(FileStep step);
    // Commits the steps queued so far. On a failure the steps not yet placed are dropped (their
    // files untouched, their temporary files removed) and the error is thrown.
    void commit();
    // True once a stop request dropped files.
    bool stopped() const { return stopped_; }

  private:
    FileSink& sink_;
    Hooks hooks_;
    const StopToken* stop_;
    FileOutput& output_;
    bool stopped_ = false;
    std::vector<FileStep> steps_;
    std::size_t bytes_ = 0;
    std::chrono::steady_clock::time_point started_;
    // Old contents replaced by a rename are freed by the file system when their last name goes,
    // which takes a while for large files: a second name keeps each alive until a thread of
    // their own removes them, while the run goes on.
    std::vector<std::string> oldContents_;
    std::thread remover_;
    void removeOldContents();
};

}  // namespace lodestar
