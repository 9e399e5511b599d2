// The window's run state: whether a run over the folder's files goes on, what Stop does, and
// which commands may still run while a file is being opened or searched. Stop (its button and
// menu entry) is offered while either kind of work goes on.
#pragma once

#include <functional>

#include "forms/file/window_jobs.h"
#include "forms/main/command_registry.h"
#include "forms/scope/folder_work.h"
#include "forms/scope/scope_host.h"
#include "platform/one_shot_timer.h"

namespace lodestar {

class RunState {
  public:
    // `folder` is the window's link to the folder scope, which may be set later.
    RunState(ScopeHost& host, CommandRegistry& commands, WindowJobs& jobs, OneShotTimer& timer,
             FolderWork* const& folder)
        : host_(host), commands_(commands), jobs_(jobs), timer_(timer), folder_(folder) {}

    bool running() const { return running_; }
    // A run starts or ends: the commands that stand down do so; `stop` is what Stop does
    // meanwhile (without one, Stop tells the folder run).
    void setRunning(bool on, std::function<void()> stop);
    // The Stop command: the open or search of a file is cancelled, and the run told to stop.
    void stop();
    // Esc: the running open or search is told to stop and its result is dropped; the window
    // keeps its previous state.
    void cancelWork();
    // While a file is opened or searched: Stop, Help and Exit; in single-file mode also Find,
    // which stops the search before it and starts its own.
    bool allowedWhileWorking(const WindowCommand* command) const;
    // The open or search of a file started or ended.
    void jobsChanged() { offerStop(); }
    // The progress of opening or searching a file; the bar belongs to a folder run while one
    // goes on.
    void jobProgress(int percent);

  private:
    void offerStop();

    ScopeHost& host_;
    CommandRegistry& commands_;
    WindowJobs& jobs_;
    OneShotTimer& timer_;
    FolderWork* const& folder_;
    bool running_ = false;
    std::function<void()> stopRun_;  // Stop of the run going on, when it is not a folder run
};

}  // namespace lodestar
