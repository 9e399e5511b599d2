// The fixture of the lodestar-cli tests: the built program copied into a program folder of its
// own, run through the shell on a fresh folder, with what it wrote and its exit status.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "support/temp_dir.h"

namespace lodestar {

namespace fs = std::filesystem;
using testing::readBytes;
using testing::TempDir;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string quoted(const std::string& arg) {
    std::string result = "'";
    for (char c : arg) result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return result + "'";
}

class Cli : public ::testing::Test {
  protected:
    // A program folder of its own, so no lodestar.opt of the build folder leaks in.
    static void SetUpTestSuite() {
        program_ = std::make_unique<TempDir>();
        fs::copy_file(LODESTAR_CLI, program_->path() / "lodestar-cli");
    }
    static void TearDownTestSuite() { program_.reset(); }

    Outcome run(const std::vector<std::string>& args, const std::string& redirect = "") {
        // The user's options file lives in a folder of this test's own.
        std::string command =
            workingFolder.empty() ? "" : "cd " + quoted(workingFolder.string()) + " && ";
        command += "XDG_CONFIG_HOME=" + quoted((io.path() / "config").string()) +
                   " XDG_STATE_HOME=" + quoted((io.path() / "state").string()) + " " + launcher +
                   quoted((program_->path() / "lodestar-cli").string());
        for (const std::string& arg : args) command += " " + quoted(arg);
        const fs::path out = io.path() / "stdout";
        const fs::path err = io.path() / "stderr";
        command += " 2>" + quoted(err.string());
        command += redirect.empty() ? " >" + quoted(out.string()) : " " + redirect;
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readBytes(out), readBytes(err)};
    }

    // As run, with `input` on standard input.
    Outcome runWithInput(const std::vector<std::string>& args, const std::string& input) {
        const std::string in = ioPut("stdin", input);
        return run(args, "<" + quoted(in) + " >" + quoted(ioFile("stdout")));
    }

    // Runs a command that must fail with status 2; gives what it wrote to standard error.
    std::string failure(const std::vector<std::string>& args) {
        const Outcome result = run(args);
        EXPECT_EQ(result.status, 2) << result.out;
        return result.err;
    }
    void writeOptions(const std::string& lines) { program_->put("lodestar.opt", lines); }
    void dropOptions() { fs::remove(program_->path() / "lodestar.opt"); }
    void makeReadOnly(const std::string& name) {
        fs::permissions(dir.path() / name, fs::perms::owner_write, fs::perm_options::remove);
    }
    std::string at(const std::string& name) const { return (dir.path() / name).string(); }
    std::string folder() const { return dir.path().string(); }
    std::string ioFile(const std::string& name) const { return (io.path() / name).string(); }
    std::string ioPut(const std::string& name, const std::string& bytes) const {
        io.put(name, bytes);
        return ioFile(name);
    }

    // Three files, in name order a.htm, b.txt, c.htm.
    void putSample() {
        dir.put("a.htm", "<p style='width:12px'>Cat</p>\r\n");
        dir.put("b.txt", "no pixels here\n");
        dir.put("c.htm", "1px 2px\r\n3PX\r\n");
    }

    TempDir dir;
    TempDir io;
    fs::path workingFolder;  // where the program runs; empty: the test's own current folder
    std::string launcher;    // put before the program, e.g. "prlimit --as=N "
    static inline std::unique_ptr<TempDir> program_;
};

}  // namespace lodestar
