// Long work away from the user-interface thread: opening and searching one file, a run over the
// files of a folder. Runs happen one at a time, in the order started: a run started while
// another works waits for it (the user-interface thread never does). The work reports back
// through `post`, which runs each report on the user-interface thread in the order posted, and
// asks questions through `ask`, which runs on that thread and waits for it. The work touches
// nothing but the data it was given; stopping it early is the caller's business (a StopToken
// the work looks at). The desktop skin uses a worker thread; tests use runners that do
// everything at once or when the test says so.
#pragma once

#include <functional>

namespace lodestar {

class WorkRunner {
  public:
    virtual ~WorkRunner() = default;
    // Runs `work` away from the user-interface thread once the runs started before it are
    // done; `finished` then runs on that thread, after every report the work posted. A runner
    // destroyed first drops what has not run yet.
    virtual void start(std::function<void()> work, std::function<void()> finished) = 0;
    // From the work: runs `report` later on the user-interface thread.
    virtual void post(std::function<void()> report) = 0;
    // From the work: runs `question` on the user-interface thread and returns once it has run
    // (or, without running it, once the runner is being destroyed).
    virtual void ask(std::function<void()> question) = 0;
};

// Runs everything at once on the calling thread: the forms' default.
class ImmediateWorkRunner : public WorkRunner {
  public:
    void start(std::function<void()> work, std::function<void()> finished) override {
        work();
        finished();
    }
    void post(std::function<void()> report) override { report(); }
    void ask(std::function<void()> question) override { question(); }
};

}  // namespace lodestar
