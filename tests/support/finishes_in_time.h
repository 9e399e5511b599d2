// A watchdog for checks that must end rather than run forever: the work runs on its own
// thread, and a run that outlives a generous limit ends the whole test program with a message
// (a thread that never returns cannot be joined, so failing only the test would hang on exit).
#pragma once

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <thread>
#include <utility>

namespace lodestar::testing {

template <typename Work>
auto finishesInTime(const char* what, Work&& work,
                    std::chrono::seconds limit = std::chrono::seconds(20)) {
    std::packaged_task<decltype(work())()> task(std::forward<Work>(work));
    auto result = task.get_future();
    std::thread worker(std::move(task));
    if (result.wait_for(limit) == std::future_status::timeout) {
        std::fprintf(stderr, "FAILED: %s did not finish within %lld s\n", what,
                     static_cast<long long>(limit.count()));
        std::fflush(stderr);
        std::_Exit(1);
    }
    worker.join();
    return result.get();
}

}  // namespace lodestar::testing
