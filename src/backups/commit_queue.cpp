// Batches of rewritten files made durable together and put in place in order.
#include "backups/commit_queue.h"

#include <unistd.h>

#include <algorithm>
#include <exception>
#include <utility>

#include "files/file_error.h"

namespace lodestar {
namespace {

// A batch ends at whichever comes first. Larger batches cost fewer flushes; smaller ones show
// finished files sooner and hold fewer temporary files on the disk.
constexpr std::size_t kMostFiles = 1000;
constexpr std::size_t kMostBytes = std::size_t{128} << 20;
constexpr auto kLongest = std::chrono::seconds(1);

bool isChangedElsewhere(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const FileChangedError&) {
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace

CommitQueue::CommitQueue(FileSink& sink, Hooks hooks, const StopToken* stop, FileOutput& output)
    : sink_(sink), hooks_(std::move(hooks)), stop_(stop), output_(output) {}

CommitQueue::~CommitQueue() {
    removeOldContents();
    if (remover_.joinable()) remover_.join();
}

void CommitQueue::removeOldContents() {
    if (remover_.joinable()) remover_.join();
    if (oldContents_.empty()) return;
    remover_ = std::thread([names = std::exchange(oldContents_, {})] {
        for (const std::string& name : names) ::unlink(name.c_str());
    });
}

void CommitQueue::add(FileStep step) {
    if (stopped_) return;
    if (steps_.empty()) started_ = std::chrono::steady_clock::now();
    if (step.pending) bytes_ += step.pending->size();
    steps_.push_back(std::move(step));
    if (steps_.size() >= kMostFiles || bytes_ >= kMostBytes ||
        std::chrono::steady_clock::now() - started_ >= kLongest)
        commit();
}

void CommitQueue::commit() {
    std::vector<FileStep> steps = std::exchange(steps_, {});
    bytes_ = 0;
    if (stopped_) return;
    if (stop_ && stop_->requested()) {
        // The files before the first that needs writing are done already and are reported;
        // that one and every file after it stay untouched.
        stopped_ = true;
        steps.erase(std::find_if(steps.begin(), steps.end(),
                                 [](const FileStep& step) { return step.pending.has_value(); }),
                    steps.end());
    }
    std::vector<const PendingReplace*> pending;
    for (const FileStep& step : steps)
        if (step.pending) pending.push_back(&*step.pending);
    if (!pending.empty()) {
        makeDurable(pending, output_);
        if (hooks_.beforePlacing) hooks_.beforePlacing(steps);
    }
    std::vector<std::string> folders;
    try {
        for (std::size_t k = 0; k < steps.size(); ++k) {
            FileStep& step = steps[k];
            if (step.pending && stop_ && stop_->requested()) {
                stopped_ = true;
                if (hooks_.dropped)
                    for (std::size_t rest = k; rest < steps.size(); ++rest)
                        hooks_.dropped(steps[rest]);
                break;
            }
            for (const FileNote& note : step.notes) {
                if (note.error)
                    sink_.logError(note.message, note.cause);
                else
                    sink_.logLine(note.message);
            }
            if (step.pending) {
                sink_.showStatus(u"Replacing " + step.outcome.path + u" ...");
                folders.push_back(step.pending->folder());
                // A backup already keeps the old content alive; otherwise a hidden second name
                // does, removed later (or by the next run's clean-up, should this one be cut).
                std::string oldName;
                if (!step.backedUp) {
                    oldName = step.pending->folder() + temporaryFileName();
                    if (::link(step.pending->target().c_str(), oldName.c_str()) != 0)
                        oldName.clear();
                }
                try {
                    putInPlace(*step.pending);
                    if (!oldName.empty()) oldContents_.push_back(std::move(oldName));
                    if (hooks_.placed) hooks_.placed(step);
                } catch (...) {
                    if (!oldName.empty()) ::unlink(oldName.c_str());
                    if (!isChangedElsewhere(std::current_exception())) throw;
                    if (hooks_.changedElsewhere) hooks_.changedElsewhere(step);
                }
            }
            sink_.fileDone(step.outcome);
        }
    } catch (...) {
        flushFolders(folders);
        removeOldContents();
        throw;
    }
    flushFolders(folders);
    removeOldContents();
}

}  // namespace lodestar
