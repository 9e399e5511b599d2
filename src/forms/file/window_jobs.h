// The open and the search of the shown file, one job at a time on a WorkRunner (away from the
// user-interface thread in the desktop program). A newer job tells the one before it to stop;
// a stopped job's reports and result are dropped, so the window keeps its state. The work
// looks at its stop between steps and tells its progress, which reaches the window only when
// the whole percent changes.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "core/stop_token.h"
#include "platform/work_runner.h"

namespace lodestar {

class WindowJobs {
  public:
    // How far a job's work got of its total; the work may tell every step.
    using Progress = std::function<void(std::uint64_t done, std::uint64_t total)>;
    using Work = std::function<void(const StopToken& stop, const Progress& progress)>;

    // `changed` hears when a job starts or ends (Stop is offered while one works);
    // `percent` hears the job's progress, 0 when it starts and when it ends.
    WindowJobs(std::function<void()> changed, std::function<void(int percent)> percent);
    ~WindowJobs() { stop(); }
    WindowJobs(const WindowJobs&) = delete;
    WindowJobs& operator=(const WindowJobs&) = delete;

    // Without a runner the jobs run at once on the caller's thread.
    void setRunner(WorkRunner* runner) { runner_ = runner ? runner : &immediate_; }
    bool working() const { return working_; }
    // `done` runs only if the job was not stopped; `undo` is what a cancel puts back.
    void start(Work work, std::function<void()> done, std::function<void()> undo = {});
    // The undo of the job working now; empty when none.
    const std::function<void()>& undo() const { return undo_; }
    // The latest job's result, should it still come, is dropped; its work stops at its next
    // step.
    void stop();
    // Esc: the job working now is dropped and its undo handed back.
    std::function<void()> cancel();

  private:
    void ended();

    std::function<void()> changed_;
    std::function<void(int)> percent_;
    ImmediateWorkRunner immediate_;
    WorkRunner* runner_ = &immediate_;
    std::shared_ptr<StopToken> stop_;  // the stop of the latest job
    std::function<void()> undo_;
    // Gone with the jobs, so a job's completion can tell it came too late.
    std::shared_ptr<const bool> alive_ = std::make_shared<const bool>(true);
    bool working_ = false;
};

}  // namespace lodestar
