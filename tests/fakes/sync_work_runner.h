// A work runner that runs the work on the calling thread and every report at once: the results
// of a run are those of the threaded runner, in the same order. `afterReport` lets a test act
// between two reports, as a user would during a run (pressing Stop, say).
#pragma once

#include <functional>

#include "platform/work_runner.h"

namespace lodestar::fakes {

class SyncWorkRunner : public WorkRunner {
  public:
    void start(std::function<void()> work, std::function<void()> finished) override {
        ++runs;
        work();
        finished();
    }
    void post(std::function<void()> report) override {
        report();
        ++reports;
        if (afterReport) afterReport(reports);
    }
    void ask(std::function<void()> question) override { question(); }

    std::function<void(int reportsSoFar)> afterReport;
    int runs = 0;
    int reports = 0;
};

}  // namespace lodestar::fakes
