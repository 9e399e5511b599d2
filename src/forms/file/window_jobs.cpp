#include "forms/file/window_jobs.h"

#include <optional>
#include <utility>

#include "forms/model/progress_bar.h"

namespace lodestar {

WindowJobs::WindowJobs(std::function<void()> changed, std::function<void(int percent)> percent)
    : changed_(std::move(changed)), percent_(std::move(percent)) {}

void WindowJobs::start(Work work, std::function<void()> done, std::function<void()> undo) {
    stop();  // a newer job takes over: the one before it ends as soon as it can
    auto stop = std::make_shared<StopToken>();
    stop_ = stop;
    undo_ = std::move(undo);
    working_ = true;
    changed_();
    percent_(0);
    const std::weak_ptr<const bool> alive = alive_;
    // Told on the worker's thread; reported only when the whole percent changes.
    Progress progress = [this, runner = runner_, alive, stop,
                         steps = std::make_shared<PercentSteps>()](std::uint64_t done,
                                                                   std::uint64_t total) {
        const std::optional<int> percent = steps->next(done, total);
        if (!percent) return;
        runner->post([this, alive, stop, percent = *percent] {
            // A report of a job that was stopped meanwhile comes too late to be shown.
            if (alive.expired() || stop->requested()) return;
            percent_(percent);
        });
    };
    runner_->start(
        [stop, work = std::move(work), progress = std::move(progress)] {
            // Stopped while it waited for its turn: nothing to do.
            if (!stop->requested()) work(*stop, progress);
        },
        [this, alive, stop, done = std::move(done)] {
            // Cancelled, taken over by a newer job, or the window is closed or gone.
            if (alive.expired() || stop->requested()) return;
            undo_ = nullptr;
            ended();
            done();
        });
}

void WindowJobs::stop() {
    if (stop_) stop_->request();
    stop_.reset();
    undo_ = nullptr;
}

std::function<void()> WindowJobs::cancel() {
    std::function<void()> undo = std::move(undo_);
    stop();
    ended();
    return undo;
}

void WindowJobs::ended() {
    working_ = false;
    changed_();
    percent_(0);
}

}  // namespace lodestar
