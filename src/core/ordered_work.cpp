// The thread count of the folder loops.
#include "core/ordered_work.h"

#include <atomic>

namespace lodestar {
namespace {

std::atomic<unsigned> chosenThreads{0};

}  // namespace

void setWorkerThreads(unsigned count) {
    chosenThreads.store(count, std::memory_order_relaxed);
}

unsigned workerThreads() {
    const unsigned chosen = chosenThreads.load(std::memory_order_relaxed);
    if (chosen > 0) return chosen;
    return std::max(1u, std::thread::hardware_concurrency());
}

}  // namespace lodestar
