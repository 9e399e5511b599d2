// Special files in place of files, for the tests that show nothing ever waits on them: a FIFO
// made where a file was, and a watchdog that fails a test whose work does not return in time
// (and then frees that work by opening the FIFOs as a writer, so the test program ends).
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <vector>

namespace lodestar::testing {

// Replaces whatever is at `path` with a FIFO no one writes to.
inline void makeFifo(const std::filesystem::path& path) {
    std::filesystem::remove(path);
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
}

inline void returnsPromptly(const std::function<void()>& work,
                            const std::vector<std::filesystem::path>& fifos) {
    std::future<void> done = std::async(std::launch::async, work);
    if (done.wait_for(std::chrono::seconds(20)) == std::future_status::ready) {
        done.get();
        return;
    }
    ADD_FAILURE() << "the work waited on a FIFO";
    while (done.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
        for (const std::filesystem::path& fifo : fifos) {
            const int fd = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK);
            if (fd >= 0) ::close(fd);
        }
    }
}

}  // namespace lodestar::testing
