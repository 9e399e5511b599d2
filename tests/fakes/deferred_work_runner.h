// A work runner that holds each run until the test lets it go, as a worker thread that has not
// got to it yet would. Reports and questions of a run being let go happen at once.
#pragma once

#include <deque>
#include <functional>
#include <utility>

#include "platform/work_runner.h"

namespace lodestar::fakes {

class DeferredWorkRunner : public WorkRunner {
  public:
    struct Run {
        std::function<void()> work;
        std::function<void()> finished;
    };

    void start(std::function<void()> work, std::function<void()> finished) override {
        held.push_back({std::move(work), std::move(finished)});
    }
    void post(std::function<void()> report) override { report(); }
    void ask(std::function<void()> question) override { question(); }

    // Runs the oldest held run: its work, then its finished.
    void finishOne() {
        Run run = std::move(held.front());
        held.pop_front();
        run.work();
        run.finished();
    }
    // Runs the held runs in the order they came, and those they start meanwhile.
    void finishAll() {
        while (!held.empty()) finishOne();
    }

    std::deque<Run> held;
};

}  // namespace lodestar::fakes
