// lodestar-cli run as another program beside the test: its output and errors go to files in
// `io`, after the limits or the user the test asks for are set up in the child.
#pragma once

#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace lodestar::testing {

constexpr uid_t kNobody = 65534;

// What the child does before it becomes lodestar-cli.
struct ChildSetup {
    std::optional<rlim_t> fileSizeLimit;
    std::optional<rlim_t> memoryLimit;  // address space, for runs that run out of memory
    bool asNobody = false;
};

struct Child {
    pid_t pid = -1;
    std::string errFile;
};

inline Child startCli(const std::vector<std::string>& args, const std::filesystem::path& io,
                      const ChildSetup& setup = {}) {
    Child child;
    child.errFile = (io / "stderr").string();
    const std::string outFile = (io / "stdout").string();
    std::fflush(stdout);  // else the child's freopen writes the parent's pending output again
    child.pid = ::fork();
    if (child.pid == 0) {
        if (std::freopen(outFile.c_str(), "w", stdout) == nullptr ||
            std::freopen(child.errFile.c_str(), "w", stderr) == nullptr)
            ::_exit(97);
        if (setup.fileSizeLimit) {
            ::signal(SIGXFSZ, SIG_IGN);  // the write fails with EFBIG instead
            const rlimit limit{*setup.fileSizeLimit, *setup.fileSizeLimit};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        if (setup.memoryLimit) {
            const rlimit limit{*setup.memoryLimit, *setup.memoryLimit};
            ::setrlimit(RLIMIT_AS, &limit);
        }
        if (setup.asNobody && ::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setresgid(kNobody, kNobody, kNobody) != 0 ||
             ::setresuid(kNobody, kNobody, kNobody) != 0))
            ::_exit(98);
        std::vector<char*> argv;
        static std::string program = LODESTAR_CLI;
        argv.push_back(program.data());
        std::vector<std::string> copies = args;
        for (std::string& arg : copies) argv.push_back(arg.data());
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(96);
    }
    return child;
}

// The exit status; -1 when killed.
inline int finish(const Child& child) {
    int status = 0;
    ::waitpid(child.pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace lodestar::testing
