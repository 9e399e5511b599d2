// Work on many items spread over several threads while their results are taken in item order:
// the folder loops read, search and write files on worker threads, and the calling thread hands
// each file's outcome to the sink exactly as a one-thread run would, in listing order.
#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "core/stop_token.h"

namespace lodestar {

// How many threads the folder loops use; 0 (the default) means one per processor core.
void setWorkerThreads(unsigned count);
// The number in effect: at least 1.
unsigned workerThreads();

// Runs work(worker, i) for every item i in [0, count) on `threads` threads (worker is 0 ..
// threads - 1, for state kept per thread) and calls take(i, result) on the calling thread for
// i = 0, 1, 2 ... in order. An exception thrown by work(i) is rethrown by the call that would
// have taken item i, so the caller meets failures in item order. take answering false ends the
// run: items not yet started are never started, results of started ones are dropped. A
// requested `stop` ends the run the same way before the next item is taken, exactly where a
// one-thread loop that looks at it before each item would end. At most `ahead` results wait to
// be taken at any time, which bounds the memory they hold. Answers the number of items taken.
// With one thread everything runs on the calling thread.
template <class Result>
std::size_t runInOrder(std::size_t count, unsigned threads, std::size_t ahead,
                       const std::function<Result(unsigned worker, std::size_t item)>& work,
                       const std::function<bool(std::size_t item, Result& result)>& take,
                       const StopToken* stop = nullptr) {
    const auto stopped = [stop] { return stop && stop->requested(); };
    if (threads <= 1 || count <= 1) {
        for (std::size_t i = 0; i < count; ++i) {
            if (stopped()) return i;
            Result result = work(0, i);
            if (!take(i, result)) return i + 1;
        }
        return count;
    }
    // Workers claim a few consecutive items at a time and hand their results over together, and
    // each side wakes the other only when it waits: on a tree of small files a hand-over per
    // file would cost more than reading it.
    ahead = std::max<std::size_t>(ahead, threads);
    const std::size_t batch =
        std::clamp<std::size_t>(std::min(count / (threads * 32), ahead / (2 * threads)), 1, 16);
    struct Slot {
        std::optional<Result> result;
        std::exception_ptr failure;
        bool ready = false;
    };
    std::vector<Slot> slots(ahead);  // item i waits in slots[i % ahead]
    std::mutex mutex;
    std::condition_variable itemReady;
    std::condition_variable roomFreed;
    std::size_t started = 0;  // items handed to workers
    std::size_t taken = 0;    // items taken by the caller
    bool ending = false;      // no more items are started
    bool takerWaits = false;
    unsigned workersWaiting = 0;
    unsigned running = threads;

    const auto workerLoop = [&](unsigned worker) {
        std::vector<Slot> done;
        std::unique_lock lock(mutex);
        for (;;) {
            while (!ending && started >= taken + ahead) {
                ++workersWaiting;
                roomFreed.wait(lock);
                --workersWaiting;
            }
            if (ending || started >= count || stopped()) break;
            const std::size_t first = started;
            const std::size_t n = std::min({batch, count - started, taken + ahead - started});
            started += n;
            lock.unlock();
            done.clear();
            done.resize(n);
            for (std::size_t k = 0; k < n; ++k) {
                try {
                    done[k].result.emplace(work(worker, first + k));
                } catch (...) {
                    done[k].failure = std::current_exception();
                }
                done[k].ready = true;
            }
            lock.lock();
            for (std::size_t k = 0; k < n; ++k) slots[(first + k) % ahead] = std::move(done[k]);
            if (takerWaits && taken >= first && taken < first + n) itemReady.notify_one();
        }
        ending = true;  // a worker that ends ends the start of new items for all
        --running;
        roomFreed.notify_all();
        itemReady.notify_all();
    };
    std::vector<std::thread> workers;
    workers.reserve(threads);
    for (unsigned w = 0; w < threads; ++w) workers.emplace_back(workerLoop, w);

    std::exception_ptr failure;
    {
        std::unique_lock lock(mutex);
        while (taken < count && !stopped()) {
            Slot& slot = slots[taken % ahead];
            while (!(slot.ready || stopped() || (running == 0 && taken >= started))) {
                // Woken for its item only, so a stop is looked at every few milliseconds.
                takerWaits = true;
                itemReady.wait_for(lock, std::chrono::milliseconds(10));
                takerWaits = false;
            }
            if (!slot.ready || stopped()) break;  // nothing more was started, or a stop
            Slot ready = std::move(slot);
            slot = Slot{};
            ++taken;
            if (workersWaiting > 0) roomFreed.notify_all();
            lock.unlock();
            bool goOn = false;
            try {
                if (ready.failure) std::rethrow_exception(ready.failure);
                goOn = take(taken - 1, *ready.result);
            } catch (...) {
                failure = std::current_exception();
            }
            lock.lock();
            if (!goOn) {
                ending = true;
                roomFreed.notify_all();
                break;
            }
        }
        ending = true;
        roomFreed.notify_all();
    }
    for (std::thread& worker : workers) worker.join();
    if (failure) std::rethrow_exception(failure);
    return taken;
}

}  // namespace lodestar
