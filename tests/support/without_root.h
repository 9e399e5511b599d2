// Runs a piece of a test in a child process that the file permissions bind: when the tests
// run as root (who may write anywhere), the child drops to the user "nobody" first.
#pragma once

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace lodestar::testing {

constexpr int kCannotDropRoot = 99;

// The child's exit code: what `action` returned, or kCannotDropRoot.
template <typename Action>
int exitCodeWithoutRoot(Action action) {
    pid_t child = ::fork();
    if (child == 0) {
        constexpr uid_t nobody = 65534;
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setresgid(nobody, nobody, nobody) != 0 ||
             ::setresuid(nobody, nobody, nobody) != 0)) {
            ::_exit(kCannotDropRoot);
        }
        ::_exit(action());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace lodestar::testing
