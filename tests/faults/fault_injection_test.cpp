// Faults injected into lodestar-cli's folder runs: kill -9 at random moments of a replace, a
// batch and a restore (seeded, so a failure can be repeated), a full disk, too few inodes, a
// file size limit, and the permission cases; two runs at once, restores killed half-way, retries
// of a failed run and links planted where a restore writes. After each: every file is wholly old or
// wholly new, every backup is whole, a restore gives back every original, and no temporary file
// outlives the next run.
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <thread>

#include "support/cli_child.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using testing::Child;
using testing::ChildSetup;
using testing::finish;
using testing::kNobody;
using testing::startCli;
using testing::readBytes;
using testing::TempDir;

constexpr int kKills = 24;  // per operation
constexpr unsigned kSeed = 20261207;
constexpr int kFiles = 24;

void spit(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

struct Result {
    int status;
    std::string err;
};

Result runCli(const std::vector<std::string>& args, const fs::path& io,
              const ChildSetup& setup = {}) {
    const Child child = startCli(args, io, setup);
    const int status = finish(child);
    return {status, readBytes(child.errFile)};
}

bool temporariesIn(const fs::path& folder) {
    if (!fs::exists(folder)) return false;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().starts_with(".lodestar-") &&
            entry.path().extension() == ".tmp")
            return true;
    return false;
}

class FaultInjection : public ::testing::Test {
  protected:
    TempDir root;
    TempDir io;
    fs::path folder;
    std::vector<std::string> names;
    std::vector<std::string> olds;
    std::vector<std::string> news;

    // Files of about 60 KB each: big enough that a run takes a while to kill into.
    void SetUp() override {
        folder = root.path() / "site";
        fs::create_directory(folder);
        for (int i = 0; i < kFiles; ++i) {
            std::string text;
            for (int line = 0; line < 2000 + 37 * i; ++line)
                text += "line " + std::to_string(line) + " width:" + std::to_string(i) + "px\r\n";
            names.push_back("page" + std::to_string(100 + i) + ".htm");
            olds.push_back(text);
            std::string replaced = text;
            for (std::size_t at = 0; (at = replaced.find("px", at)) != std::string::npos;)
                replaced.replace(at, 2, "em!"), at += 3;
            news.push_back(replaced);
            spit(folder / names.back(), text);
        }
        spit(io.path() / "px.rep", "rep ---px--- with ---em!---;\r\n");
    }

    std::vector<std::string> replaceArgs() const { return {"replace", "px", "em!", folder}; }
    std::vector<std::string> batchArgs() const {
        return {"run", (io.path() / "px.rep").string(), folder};
    }
    std::vector<std::string> restoreArgs() const { return {"restore", folder}; }

    void resetFiles() {
        fs::remove_all(folder / "bak");
        for (int i = 0; i < kFiles; ++i) spit(folder / names[i], olds[i]);
    }

    // Every file wholly old or new, every backup the whole original. Answers how many are new.
    int expectWhole(const std::string& when) {
        int changed = 0;
        for (int i = 0; i < kFiles; ++i) {
            const std::string now = readBytes(folder / names[i]);
            EXPECT_TRUE(now == olds[i] || now == news[i]) << names[i] << " " << when;
            changed += now == news[i];
            const fs::path backup = folder / "bak" / names[i];
            if (fs::exists(backup)) {
                EXPECT_TRUE(readBytes(backup) == olds[i]) << names[i] << " " << when;
            }
        }
        return changed;
    }
    void expectOriginals(const std::string& when) {
        for (int i = 0; i < kFiles; ++i)
            EXPECT_TRUE(readBytes(folder / names[i]) == olds[i]) << names[i] << " " << when;
    }

    // Restores after a cut-short run: every original back, no temporary file left.
    void restoreAndCheck(const std::string& when) {
        const Result restored = runCli(restoreArgs(), io.path());
        // Killed before the first backup: there is nothing to restore and nothing changed.
        EXPECT_TRUE(restored.status == 0 ||
                    restored.err.find("backup folder doesn't exist") != std::string::npos ||
                    restored.err.find("Backup folder is empty") != std::string::npos)
            << when << ": " << restored.err;
        expectOriginals(when);
        EXPECT_FALSE(temporariesIn(folder) || temporariesIn(folder / "bak")) << when;
    }

    Clock::duration timeOf(const std::vector<std::string>& args) {
        const auto begin = Clock::now();
        EXPECT_EQ(runCli(args, io.path()).status, 0);
        return Clock::now() - begin;
    }

    // Runs a replace and a batch on a nearly full file system; checks that nothing is lost.
    void expectCleanRunsOn(const fs::path& small, const std::string& options);

    // Starts the command, kills it after a random part of its usual duration, and waits.
    void killDuring(const std::vector<std::string>& args, Clock::duration usual,
                    std::mt19937& random) {
        std::uniform_int_distribution<long long> delay(
            0, std::chrono::duration_cast<std::chrono::microseconds>(usual).count());
        const Child child = startCli(args, io.path());
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(child.pid, SIGKILL);
        finish(child);
    }
};

TEST_F(FaultInjection, KilledReplacesAndBatchesLeaveWholeFilesAndRestoreGivesAllBack) {
    for (const auto& [label, args] :
         {std::pair{"replace", replaceArgs()}, std::pair{"batch", batchArgs()}}) {
        const Clock::duration usual = timeOf(args);
        resetFiles();
        std::mt19937 random(kSeed);
        int midRun = 0;  // kills that left some files changed and some not
        for (int kill = 0; kill < kKills; ++kill) {
            const std::string when = std::string(label) + " kill " + std::to_string(kill);
            killDuring(args, usual, random);
            const int changed = expectWhole(when);
            midRun += changed > 0 && changed < kFiles;
            restoreAndCheck(when);
            resetFiles();
        }
        std::printf("%s: %d kills, %d of them half-way through the files\n", label, kKills, midRun);
    }
}

TEST_F(FaultInjection, KilledRestoresLeaveWholeFilesAndTheNextRestoreFinishes) {
    ASSERT_EQ(runCli(replaceArgs(), io.path()).status, 0);
    const Clock::duration usual = timeOf(restoreArgs());
    std::mt19937 random(kSeed + 1);
    int midRun = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        const std::string when = "restore kill " + std::to_string(kill);
        resetFiles();
        ASSERT_EQ(runCli(replaceArgs(), io.path()).status, 0);
        killDuring(restoreArgs(), usual, random);
        const int changed = expectWhole(when);
        midRun += changed > 0 && changed < kFiles;
        restoreAndCheck(when);
    }
    std::printf("restore: %d kills, %d of them half-way through the files\n", kKills, midRun);
}

// A small file system of its own, or nothing when this process may not mount one.
class SmallFileSystem {
  public:
    SmallFileSystem(const fs::path& at, const std::string& options) : at_(at) {
        fs::create_directory(at);
        mounted_ = ::mount("tmpfs", at.c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~SmallFileSystem() {
        if (mounted_) ::umount2(at_.c_str(), MNT_DETACH);
    }
    bool mounted() const { return mounted_; }

  private:
    fs::path at_;
    bool mounted_ = false;
};

TEST_F(FaultInjection, AFullDiskOrTooFewInodesGiveAClearErrorAndLoseNothing) {
    // Room for the files and a few backups, not for the whole run; then inodes for the files
    // and hardly more.
    const std::size_t total = [&] {
        std::size_t bytes = 0;
        for (const std::string& text : olds) bytes += text.size();
        return bytes;
    }();
    for (const std::string& options :
         {"size=" + std::to_string(total + total / 3),
          std::string("nr_inodes=") + std::to_string(kFiles + 4) + ",size=64m"}) {
        const fs::path small = root.path() / "small";
        SmallFileSystem device(small, options);
        if (!device.mounted()) GTEST_SKIP() << "cannot mount a small file system here";
        expectCleanRunsOn(small, options);
    }
}

void FaultInjection::expectCleanRunsOn(const fs::path& small, const std::string& options) {
    {
        for (int i = 0; i < kFiles; ++i) fs::copy_file(folder / names[i], small / names[i]);
        const std::string target = small.string();
        for (const auto& args :
             {std::vector<std::string>{"replace", "px", "em!", target},
              std::vector<std::string>{"run", (io.path() / "px.rep").string(), target}}) {
            const Result result = runCli(args, io.path());
            EXPECT_EQ(result.status, 2) << options;
            EXPECT_TRUE(result.err.find("No space left on device") != std::string::npos ||
                        result.err.find("Cannot") != std::string::npos)
                << options << ": " << result.err;
            // Each file is old, or new with its original whole in the backup folder.
            for (int i = 0; i < kFiles; ++i) {
                const std::string now = readBytes(small / names[i]);
                EXPECT_TRUE(now == olds[i] ||
                            (now == news[i] && readBytes(small / "bak" / names[i]) == olds[i]))
                    << names[i] << " " << options;
            }
            EXPECT_FALSE(temporariesIn(small) || temporariesIn(small / "bak")) << options;
            // Room again for the next command.
            fs::remove_all(small / "bak");
            for (int i = 0; i < kFiles; ++i) spit(small / names[i], olds[i]);
        }
    }
}

TEST_F(FaultInjection, AFileSizeLimitStopsTheRunWithItsCauseAndNothingHalfWritten) {
    ChildSetup limited;
    limited.fileSizeLimit = olds.front().size() + 100;  // the new text is longer
    const Result result = runCli(replaceArgs(), io.path(), limited);
    EXPECT_EQ(result.status, 2);
    EXPECT_NE(result.err.find("File Error."), std::string::npos) << result.err;
    EXPECT_NE(result.err.find("File too large"), std::string::npos) << result.err;
    expectWhole("file size limit");
    restoreAndCheck("file size limit");
}

TEST_F(FaultInjection, PermissionCasesGiveAClearErrorAndLoseNothing) {
    ChildSetup nobody;
    nobody.asNobody = true;
    // Root may write anywhere: the runs go as "nobody", who owns the folder and its files.
    auto give = [&](const fs::path& path, fs::perms perms) {
        if (::geteuid() == 0) {
            ASSERT_EQ(::chown(path.c_str(), kNobody, kNobody), 0);
        }
        fs::permissions(path, perms);
    };
    constexpr fs::perms kReadWrite = fs::perms::owner_read | fs::perms::owner_write;
    constexpr fs::perms kReadOnlyFolder = fs::perms::owner_read | fs::perms::owner_exec;
    auto openUp = [&] {
        give(folder, fs::perms::owner_all);
        for (const std::string& name : names) give(folder / name, kReadWrite);
        if (fs::exists(folder / "bak")) give(folder / "bak", fs::perms::owner_all);
    };
    fs::permissions(root.path(), fs::perms::all);
    const struct {
        const char* name;
        std::function<void()> arrange;
    } cases[] = {
        {"a folder that cannot be written", [&] { give(folder, kReadOnlyFolder); }},
        {"a file that cannot be read", [&] { give(folder / names[3], fs::perms::owner_write); }},
        {"a backup folder that cannot be written",
         [&] {
             fs::create_directory(folder / "bak");
             give(folder / "bak", kReadOnlyFolder);
         }},
    };
    for (const auto& c : cases) {
        for (const auto& args : {replaceArgs(), batchArgs()}) {
            resetFiles();
            openUp();
            c.arrange();
            const Result result = runCli(args, io.path(), nobody);
            if (result.status == 98) GTEST_SKIP() << "cannot give up root here";
            EXPECT_EQ(result.status, 2) << c.name << " " << args[0];
            EXPECT_NE(result.err.find("Permission denied"), std::string::npos)
                << c.name << ": " << result.err;
            openUp();
            expectWhole(c.name);
            runCli(restoreArgs(), io.path(), nobody);
            expectOriginals(c.name);
            EXPECT_FALSE(temporariesIn(folder)) << c.name;
        }
    }
}

// Two runs started at once on one tree: one works, the other is refused while it does (or runs
// after it as a step of its own); whichever way, restoring every step gives every original back.
TEST_F(FaultInjection, ConcurrentRunsNeverOverwriteEachOthersBackups) {
    // Half the files in a subfolder, as a tree.
    const auto tree = [&](int i) {
        return i % 2 == 0 ? folder / names[i] : folder / "sub" / names[i];
    };
    const std::vector<std::string> first = {"replace", "-r", "px", "em!", folder};
    const std::vector<std::string> second = {"run", "-r", (io.path() / "px.rep").string(), folder};
    int refused = 0;
    for (int trial = 0; trial < 10; ++trial) {
        const std::string when = "trial " + std::to_string(trial);
        fs::remove_all(folder);
        fs::create_directories(folder / "sub");
        for (int i = 0; i < kFiles; ++i) spit(tree(i), olds[i]);
        TempDir otherIo;
        const Child a = startCli(first, io.path());
        const Child b = startCli(second, otherIo.path());
        const int statusA = finish(a);
        const int statusB = finish(b);
        const std::string errors = readBytes(a.errFile) + readBytes(b.errFile);
        EXPECT_TRUE(statusA == 0 || statusB == 0) << when << ": " << errors;
        refused += errors.find("Another run or restore is working") != std::string::npos;
        for (int i = 0; i < kFiles; ++i) {
            const std::string now = readBytes(tree(i));
            EXPECT_TRUE(now == olds[i] || now == news[i]) << names[i] << " " << when;
        }
        // Restore every step there is: the originals come back, all of them.
        for (int step = 0; step < 3; ++step) runCli({"restore", folder}, io.path());
        for (int i = 0; i < kFiles; ++i)
            EXPECT_TRUE(readBytes(tree(i)) == olds[i]) << names[i] << " " << when;
        EXPECT_FALSE(temporariesIn(folder) || temporariesIn(folder / "sub")) << when;
    }
    std::printf("concurrent runs: %d of 10 trials refused the second run\n", refused);
}

// A restore killed half-way keeps the folder for itself: a new run is refused until a restore
// finishes, and that restore gives every original back.
TEST_F(FaultInjection, AKilledRestoreRefusesNewRunsUntilFinished) {
    ASSERT_EQ(runCli(replaceArgs(), io.path()).status, 0);
    const Clock::duration usual = timeOf(restoreArgs());
    std::mt19937 random(kSeed + 2);
    int refusedRuns = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        const std::string when = "restore kill " + std::to_string(kill);
        resetFiles();
        ASSERT_EQ(runCli(replaceArgs(), io.path()).status, 0);
        killDuring(restoreArgs(), usual, random);
        const int changed = expectWhole(when);
        if (changed > 0 && changed < kFiles) {
            // Cut short half-way: the journal says so.
            const Result retry = runCli({"replace", "em!", "pt", folder}, io.path());
            EXPECT_EQ(retry.status, 2) << when;
            EXPECT_NE(retry.err.find("did not finish"), std::string::npos) << when << retry.err;
            refusedRuns += retry.status == 2;
        }
        restoreAndCheck(when);
    }
    std::printf("killed restores: %d new runs refused half-way\n", refusedRuns);
}

// A run stopped by an error stays unfinished: the natural retry is refused, so the files it
// changed keep the backups of their originals, and Restore gives every original back.
TEST_F(FaultInjection, AFailedRunIsNotRetriedOverItsBackups) {
    for (const auto& args : {replaceArgs(), batchArgs()}) {
        resetFiles();
        ChildSetup limited;
        limited.fileSizeLimit = olds[kFiles / 2].size() + 100;  // the larger files fail
        const Result failed = runCli(args, io.path(), limited);
        EXPECT_EQ(failed.status, 2) << args[0];
        const int changed = expectWhole(args[0] + " failed");
        const Result retry = runCli(args, io.path());
        EXPECT_EQ(retry.status, 2) << args[0];
        EXPECT_NE(retry.err.find("--force"), std::string::npos) << retry.err;
        EXPECT_EQ(expectWhole(args[0] + " retried"), changed);
        restoreAndCheck(args[0] + " failed");
    }
}

// Links planted at backed-up files' places before a restore: nothing is written through them.
TEST_F(FaultInjection, RestoreNeverWritesThroughALinkAtAFilesPlace) {
    ASSERT_EQ(runCli(replaceArgs(), io.path()).status, 0);
    TempDir outside;
    for (int i = 0; i < kFiles; i += 3) {
        spit(outside.path() / names[i], "precious");
        fs::remove(folder / names[i]);
        fs::create_symlink(outside.path() / names[i], folder / names[i]);
    }
    EXPECT_EQ(runCli(restoreArgs(), io.path()).status, 0);
    for (int i = 0; i < kFiles; i += 3) {
        EXPECT_EQ(readBytes(outside.path() / names[i]), "precious") << names[i];
        EXPECT_FALSE(fs::is_symlink(folder / names[i])) << names[i];
    }
    expectOriginals("links at the files' places");
}

// A file too large for the memory left is that file's failure: an error entry, the run stops as
// for any other failing file, the files before it stay done, and the program does not abort.
TEST_F(FaultInjection, RunningOutOfMemoryIsAFilesFailureNotAnAbort) {
    std::string huge;
    while (huge.size() < (std::size_t{48} << 20)) huge += "px px px px px px px px\n";
    spit(folder / "zz-huge.htm", huge);
    ChildSetup limited;
    limited.memoryLimit = std::size_t{230} << 20;  // the read fits, the work does not
    for (const auto& args :
         {std::vector<std::string>{"replace", "--binary", "-j", "1", "px", "em!", folder},
          std::vector<std::string>{"run", "-j", "1", (io.path() / "px.rep").string(), folder}}) {
        resetFiles();
        const Result result = runCli(args, io.path(), limited);
        EXPECT_EQ(result.status, 2) << args[0] << ": " << result.err;
        EXPECT_NE(result.err.find("enough memory"), std::string::npos)
            << args[0] << ": " << result.err;
        EXPECT_EQ(expectWhole(args[0] + " out of memory"), kFiles) << args[0];
        EXPECT_EQ(readBytes(folder / "zz-huge.htm"), huge);
        restoreAndCheck(args[0] + " out of memory");
    }
}

}  // namespace
}  // namespace lodestar
