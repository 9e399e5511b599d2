// Stop, the stand-down of commands during a run, and what waits while a file is opened.
#include "forms/main/run_state.h"

#include <utility>

#include "forms/model/control_ids.h"

namespace lodestar {

void RunState::setRunning(bool on, std::function<void()> stop) {
    if (on == running_) return;
    running_ = on;
    stopRun_ = on ? std::move(stop) : nullptr;
    commands_.standDown(on, {main_ids::inputPath});
    offerStop();
}

void RunState::stop() {
    if (jobs_.working()) cancelWork();
    if (!running_) return;
    if (stopRun_)
        stopRun_();
    else if (folder_)
        folder_->stop();
}

void RunState::cancelWork() {
    if (!jobs_.working()) return;
    const std::function<void()> undo = jobs_.cancel();
    timer_.stop();
    if (undo) undo();
    host_.showStatus(u"Stopped.");
}

bool RunState::allowedWhileWorking(const WindowCommand* command) const {
    if (!command) return false;
    return command->whileWorking == WhileWorking::Runs ||
           (command->whileWorking == WhileWorking::RunsInSingleFileMode && !host_.inFolderMode());
}

void RunState::jobProgress(int percent) {
    if (!running_) host_.showProgress(percent, 100);
}

void RunState::offerStop() {
    const bool on = running_ || jobs_.working();
    commands_.setEnabled("stop", on);
    host_.controls().setVisible(main_ids::btnStop, on);
}

}  // namespace lodestar
