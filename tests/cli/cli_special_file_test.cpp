// A FIFO in a searched folder, or in place of the options or the settings file, never holds a
// command up: each command is run under `timeout`, which would end it with status 124.
#include <sys/stat.h>

#include "cli/cli_fixture.h"

namespace lodestar {
namespace {

class CliSpecialFile : public Cli {
  protected:
    void SetUp() override {
        if (std::system("timeout --version >/dev/null 2>&1") != 0)
            GTEST_SKIP() << "timeout is not installed";
        launcher = "timeout 20 ";
        dir.put("a.txt", "a cat\n");
        ASSERT_EQ(::mkfifo((dir.path() / "b.txt").c_str(), 0600), 0);
        dir.put("c.txt", "cat\n");
    }
};

TEST_F(CliSpecialFile, EveryCommandPassesAFifoInTheFolderBy) {
    const std::string rep = ioPut("a.rep", "rep ---cat--- with ---cow---;\r\n");
    const std::vector<std::vector<std::string>> commands{
        {"find", "cat", folder()},
        {"extract", "cat", folder(), "-o", ioFile("out.txt")},
        {"replace", "cat", "dog", folder()},
        {"restore", folder()},
        {"run", rep, folder()},
        {"restore", folder()},
    };
    for (const auto& command : commands) {
        SCOPED_TRACE(command[0]);
        const Outcome result = run(command);
        EXPECT_EQ(result.status, 0) << result.err;
    }
    EXPECT_EQ(io.bytes("out.txt"), "cat\r\ncat\r\n");
    EXPECT_EQ(dir.bytes("a.txt"), "a cat\n");
}

TEST_F(CliSpecialFile, AFifoAsOptionsOrSettingsFileIsNotReadButNamed) {
    fs::create_directories(io.path() / "config" / "lodestar");
    for (const std::string name : {"settings", "lodestar.opt"}) {
        SCOPED_TRACE(name);
        const fs::path fifo = io.path() / "config" / "lodestar" / name;
        ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        const Outcome result = run({"find", "cat", at("a.txt")});
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out, at("a.txt") + ":1:3:a cat\n");
        EXPECT_NE(result.err.find(fifo.string() +
                                  ": not a regular file (a FIFO or a device); it is not read."),
                  std::string::npos)
            << result.err;
        fs::remove(fifo);
    }
}

}  // namespace
}  // namespace lodestar
