// A request to stop long work. The window's Stop (or Esc) sets it from the user-interface thread;
// the work looks at it between two steps (the files of a folder run, the blocks of a search) and
// ends there, so every step is either fully done or not started.
#pragma once

#include <atomic>

namespace lodestar {

class StopToken {
  public:
    void request() noexcept { requested_.store(true, std::memory_order_relaxed); }
    void reset() noexcept { requested_.store(false, std::memory_order_relaxed); }
    bool requested() const noexcept { return requested_.load(std::memory_order_relaxed); }

  private:
    std::atomic<bool> requested_{false};
};

}  // namespace lodestar
