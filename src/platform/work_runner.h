// Long work (a run over the files of a folder) away from the user-interface thread. The work
// reports back through `post`, which runs each report on the user-interface thread in the
// order posted, and asks questions through `ask`, which runs on that thread and waits for it.
// The desktop skin uses a worker thread; tests use a runner that does everything at once.
#pragma once

#include <functional>

namespace lodestar {

class WorkRunner {
  public:
    virtual ~WorkRunner() = default;
    // Runs `work` away from the user-interface thread; `finished` then runs on that thread,
    // after every report the work posted.
    virtual void start(std::function<void()> work, std::function<void()> finished) = 0;
    // From the work: runs `report` later on the user-interface thread.
    virtual void post(std::function<void()> report) = 0;
    // From the work: runs `question` on the user-interface thread and returns once it has run.
    virtual void ask(std::function<void()> question) = 0;
};

}  // namespace lodestar
