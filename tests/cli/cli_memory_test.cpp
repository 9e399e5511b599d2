// Memory running out is an error with exit status 2, never an abort: each command is run with
// its address space bounded by prlimit on a file far larger than that bound (a sparse file, so
// it costs no disk space).
#include "cli/cli_fixture.h"

namespace lodestar {
namespace {

constexpr const char* kOutOfMemory =
    "Not enough memory: the command stopped. Files finished before it stay as they are.";

class CliMemory : public Cli {
  protected:
    void SetUp() override {
        if (std::system("prlimit --version >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "prlimit is not installed";
        launcher = "prlimit --as=1000000000 ";
        dir.put("a.txt", "a cat\n");
        dir.put("b.txt", "");
        fs::resize_file(dir.path() / "b.txt", std::uintmax_t{3} << 30);
    }
};

TEST_F(CliMemory, ACommandThatRunsOutOfMemoryFailsWithStatusTwo) {
    const std::string rep = ioPut("a.rep", "rep ---a--- with ---b---;\r\n");
    const std::vector<std::vector<std::string>> commands{
        {"--binary", "replace", "cat", "dog", at("b.txt")},
        {"--binary", "run", rep, at("b.txt")},
        {"render", at("b.txt")},
    };
    for (const auto& command : commands) {
        SCOPED_TRACE(command[1]);
        const Outcome result = run(command);
        EXPECT_EQ(result.status, 2) << result.err;
        EXPECT_NE(result.err.find(kOutOfMemory), std::string::npos) << result.err;
    }
}

}  // namespace
}  // namespace lodestar
