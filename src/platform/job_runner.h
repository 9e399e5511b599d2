// Long work (reading, searching and rendering a large file) off the user-interface thread.
// `work` runs on a worker thread and touches nothing but the data it was given; `done` runs
// afterwards on the user-interface thread, unless the runner is gone by then.
#pragma once

#include <functional>

namespace lodestar {

class JobRunner {
  public:
    virtual ~JobRunner() = default;
    virtual void run(std::function<void()> work, std::function<void()> done) = 0;
};

// Runs both at once on the calling thread: the forms' default, and what tests use.
class ImmediateJobRunner : public JobRunner {
  public:
    void run(std::function<void()> work, std::function<void()> done) override {
        work();
        done();
    }
};

}  // namespace lodestar
