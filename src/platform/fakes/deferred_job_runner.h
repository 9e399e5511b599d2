// A job runner that holds each job until the test runs it, as a worker thread that has not
// finished yet would.
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "platform/job_runner.h"

namespace lodestar::fakes {

class DeferredJobRunner : public JobRunner {
  public:
    void run(std::function<void()> work, std::function<void()> done) override {
        held.emplace_back(std::move(work), std::move(done));
    }
    // Runs the held jobs in the order they came.
    void finishAll() {
        auto jobs = std::move(held);
        held.clear();
        for (auto& [work, done] : jobs) {
            work();
            done();
        }
    }
    std::vector<std::pair<std::function<void()>, std::function<void()>>> held;
};

}  // namespace lodestar::fakes
