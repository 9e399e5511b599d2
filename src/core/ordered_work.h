// Work on many items spread over several threads while their results are taken in item order:
// the folder loops read, search and write files on worker threads, and the calling thread hands
// each file's outcome to the sink exactly as a one-thread run would, in listing order.
#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
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

// Runs work(worker, i, item) for every item that `find` hands over, on `threads` threads
// (worker is 0 .. threads - 1, for state kept per thread; the calling thread is one of them), and
// calls take(i, item, result) on the calling thread in the order the items were found (i counts
// them from 0; take may move the item away). find(items) appends the next items found (maybe none)
// and answers false once there is nothing more to find; it runs on one thread at a time, whenever
// the items found but not started run short, so the first items are worked on while the rest are
// still looked for (a folder run reads its first files while the walk lists the rest of the tree).
// Items find appended before it threw are worked on; its failure then meets the caller after them.
// An exception thrown by work(item i) is rethrown by the call that would have taken item i, so
// the caller meets failures in item order. take answering false ends the run: items not yet
// started are never started, results of started ones are dropped. A requested `stop` ends the
// run the same way before the next item is taken, exactly where a one-thread loop that looks at
// it before each item would end. At most `ahead` results wait to be taken at any time, which
// bounds the memory they hold. Answers the number of items taken. With one thread everything
// runs on the calling thread.
template <class Item, class Result>
std::size_t runInOrderAsFound(
    unsigned threads, std::size_t ahead, const std::function<bool(std::vector<Item>&)>& find,
    const std::function<Result(unsigned worker, std::size_t i, const Item& item)>& work,
    const std::function<bool(std::size_t i, Item& item, Result& result)>& take,
    const StopToken* stop = nullptr) {
    const auto stopped = [stop] { return stop && stop->requested(); };
    if (threads <= 1) {
        std::vector<Item> found;
        std::exception_ptr findFailure;
        std::size_t i = 0;
        for (bool more = true; more || !found.empty();) {
            if (stopped()) return i;
            if (found.empty()) {
                try {
                    more = find(found);
                } catch (...) {
                    findFailure = std::current_exception();
                    more = false;
                }
                continue;
            }
            for (Item& item : found) {
                if (stopped()) return i;
                Result result = work(0, i, item);
                if (!take(i, item, result)) return i + 1;
                ++i;
            }
            found.clear();
        }
        if (findFailure) std::rethrow_exception(findFailure);
        return i;
    }
    // Workers claim a few consecutive items at a time and hand their results over together, and
    // each side wakes the other only when it waits: on a tree of small files a hand-over per
    // file would cost more than reading it. The calling thread works too: while its next result
    // is not ready it finds or works on items like the others, so no thread beside the workers
    // competes with them for the cores.
    ahead = std::max<std::size_t>(ahead, threads);
    const std::size_t batch = std::clamp<std::size_t>(ahead / (2 * threads), 1, 16);
    // Items are looked for once fewer than this many wait to be started.
    const std::size_t lowWater = 2 * batch * threads;
    struct Slot {
        std::optional<Item> item;
        std::optional<Result> result;
        std::exception_ptr failure;
        bool ready = false;
    };
    std::vector<Slot> slots(ahead);  // item i waits in slots[i % ahead]
    std::deque<Item> pending;        // found, not started
    std::mutex mutex;
    std::condition_variable itemReady;
    std::condition_variable progress;  // room freed, items found, or the end
    std::size_t started = 0;           // items handed to workers
    std::size_t taken = 0;             // items taken by the caller
    bool ending = false;               // no more items are started
    bool finding = false;
    bool findDone = false;
    std::exception_ptr findFailure;
    bool takerWaits = false;
    unsigned workersWaiting = 0;
    const unsigned helpers = threads - 1;

    const auto allStarted = [&] { return findDone && !finding && pending.empty(); };
    const auto mayFind = [&] { return !findDone && !finding && pending.size() < lowWater; };
    const auto mayWork = [&] { return !pending.empty() && started < taken + ahead; };
    // Looks for more items unlocked; those found join the pending ones.
    const auto findMore = [&](std::unique_lock<std::mutex>& lock, std::vector<Item>& found) {
        finding = true;
        lock.unlock();
        found.clear();
        bool more = false;
        std::exception_ptr failed;
        try {
            more = find(found);
        } catch (...) {
            failed = std::current_exception();
        }
        lock.lock();
        finding = false;
        for (Item& item : found) pending.push_back(std::move(item));
        if (!more || failed) findDone = true;
        if (failed) findFailure = failed;
        if (workersWaiting > 0) progress.notify_all();
        if (takerWaits) itemReady.notify_one();
    };
    // Claims the next few items, works on them unlocked and puts the results in their slots.
    const auto workBatch = [&](unsigned worker, std::unique_lock<std::mutex>& lock,
                               std::vector<Slot>& done) {
        const std::size_t first = started;
        const std::size_t n = std::min(
            {batch, std::max<std::size_t>(1, pending.size() / threads), taken + ahead - started});
        started += n;
        done.clear();
        done.resize(n);
        for (std::size_t k = 0; k < n; ++k) {
            done[k].item.emplace(std::move(pending.front()));
            pending.pop_front();
        }
        lock.unlock();
        for (std::size_t k = 0; k < n; ++k) {
            try {
                done[k].result.emplace(work(worker, first + k, *done[k].item));
            } catch (...) {
                done[k].failure = std::current_exception();
            }
            done[k].ready = true;
        }
        lock.lock();
        for (std::size_t k = 0; k < n; ++k) slots[(first + k) % ahead] = std::move(done[k]);
        if (takerWaits && taken >= first && taken < first + n) itemReady.notify_one();
    };

    const auto workerLoop = [&](unsigned worker) {
        std::vector<Slot> done;
        std::vector<Item> found;
        std::unique_lock lock(mutex);
        while (!ending && !stopped() && !allStarted()) {
            if (mayFind()) {
                findMore(lock, found);
            } else if (mayWork()) {
                workBatch(worker, lock, done);
            } else {
                ++workersWaiting;
                progress.wait(lock);
                --workersWaiting;
            }
        }
    };
    std::vector<std::thread> workers;
    workers.reserve(helpers);
    for (unsigned w = 0; w < helpers; ++w) workers.emplace_back(workerLoop, w);

    std::exception_ptr failure;
    {
        std::vector<Slot> own;
        std::vector<Item> found;
        std::unique_lock lock(mutex);
        while (!stopped()) {
            Slot& slot = slots[taken % ahead];
            if (!slot.ready) {
                if (allStarted() && taken >= started) {
                    failure = findFailure;  // every item found is taken
                    break;
                }
                if (mayFind()) {
                    findMore(lock, found);
                } else if (mayWork()) {
                    workBatch(helpers, lock, own);
                } else {
                    // Woken for its item only, so a stop is looked at every few milliseconds.
                    takerWaits = true;
                    itemReady.wait_for(lock, std::chrono::milliseconds(10));
                    takerWaits = false;
                }
                continue;
            }
            Slot ready = std::move(slot);
            slot = Slot{};
            ++taken;
            if (workersWaiting > 0) progress.notify_all();
            lock.unlock();
            bool goOn = false;
            try {
                if (ready.failure) std::rethrow_exception(ready.failure);
                goOn = take(taken - 1, *ready.item, *ready.result);
            } catch (...) {
                failure = std::current_exception();
            }
            lock.lock();
            if (!goOn) break;
        }
        ending = true;
        progress.notify_all();
    }
    for (std::thread& worker : workers) worker.join();
    if (failure) std::rethrow_exception(failure);
    return taken;
}

// Runs work(worker, i) for every item i in [0, count) and calls take(i, result) on the calling
// thread for i = 0, 1, 2 ... in order, as runInOrderAsFound does for items found all at once.
template <class Result>
std::size_t runInOrder(std::size_t count, unsigned threads, std::size_t ahead,
                       const std::function<Result(unsigned worker, std::size_t item)>& work,
                       const std::function<bool(std::size_t item, Result& result)>& take,
                       const StopToken* stop = nullptr) {
    std::size_t next = 0;
    // A few thousand at a time, so a long list is not copied whole.
    const auto find = [&](std::vector<std::size_t>& items) {
        const std::size_t end = std::min(count, next + 4096);
        for (; next < end; ++next) items.push_back(next);
        return next < count;
    };
    return runInOrderAsFound<std::size_t, Result>(
        count <= 1 ? 1 : threads, ahead, find,
        [&](unsigned worker, std::size_t, const std::size_t& i) { return work(worker, i); },
        [&](std::size_t, std::size_t& i, Result& result) { return take(i, result); }, stop);
}

}  // namespace lodestar
