// Folder runs on several threads give a one-thread run's results; link backups; crash safety.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "backups/backup.h"
#include "backups/backup_link.h"
#include "core/ordered_work.h"
#include "core/text.h"
#include "files/safe_write.h"
#include "runs/batch_files.h"
#include "runs/multi_replace.h"
#include "runs/multi_search.h"
#include "support/run_helpers.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

namespace fs = std::filesystem;
using testing::globalExpression;
using testing::TempDir;

// Every report in one sequence, with the folder's path taken out so two folders compare.
class EventSink : public FileSink {
  public:
    explicit EventSink(std::u16string folder) : folder_(std::move(folder)) {}
    std::vector<std::u16string> events;
    void fileDone(const FileOutcome& o) override {
        events.push_back(u"file " + decimal(static_cast<long long>(o.row)) + u" " + local(o.path) +
                         u" " + decimal(static_cast<long long>(o.count.value_or(9999))) + u"|" +
                         decimal(static_cast<long long>(o.result)));
    }
    void logLine(std::u16string_view line) override { events.push_back(u"log " + local(line)); }
    void logError(std::u16string_view message, std::u16string_view cause) override {
        events.push_back(u"err " + local(message) + u" " + local(cause));
    }

  private:
    std::u16string local(std::u16string_view text) const {
        std::u16string result(text);
        for (auto at = result.find(folder_); at != std::u16string::npos; at = result.find(folder_))
            result.replace(at, folder_.size(), u"<dir>/");
        return result;
    }
    std::u16string folder_;
};

// Files of very different sizes and kinds, in listing order.
std::vector<FileItem> mixedFolder(const TempDir& dir) {
    std::string big;
    for (int line = 0; big.size() < (3u << 20); ++line)
        big += "row " + std::to_string(line) + " width:" + std::to_string(line % 97) + "px\n";
    std::vector<FileItem> files = {
        {dir.put("a-big.htm", big), true},
        {dir.put("b-empty.htm", ""), true},
        {dir.put("c-small.htm", "1px"), true},
        {dir.put("d-none.htm", "nothing to see"), true},
        {dir.put("e-binary.htm", std::string("7px\0", 4)), true},
        {dir.put("f-unticked.htm", "8px"), false},
        {dir.put("g-mid.htm", big.substr(0, 200000)), true},
        {dir.put("h-latin.htm", "caf\xe9 9px"), true},  // Windows-1252: cannot hold U+4E2D
        {dir.put("i-tiny.htm", "px"), true},
    };
    for (int i = 0; i < 30; ++i)
        files.push_back({dir.put("z" + std::to_string(100 + i) + ".htm",
                                 big.substr(0, static_cast<std::size_t>(i) * 7919) + "5px"),
                         true});
    return files;
}

std::map<std::string, std::string> contentsOf(const fs::path& folder) {
    std::map<std::string, std::string> contents;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        // The journal names its run and its time: never the same twice.
        if (!entry.is_regular_file() || entry.path().filename() == ".lodestar-journal") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        contents[fs::relative(entry.path(), folder).string()] =
            std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return contents;
}

struct Outcome {
    std::vector<std::u16string> events;
    std::map<std::string, std::string> files;
};

// One run of each kind over a fresh mixed folder with the given thread count.
Outcome runAll(unsigned threads, const std::string& kind) {
    setWorkerThreads(threads);
    TempDir dir;
    std::vector<FileItem> files = mixedFolder(dir);
    EventSink sink(dir.folder());
    testing::ReadOnlyAnswer declines{false};
    if (kind == "search") {
        SearchAllFiles(globalExpression(u"\\d+px"), u"\\d+px", files, sink);
    } else if (kind == "replace") {
        runFolder(files, ReplaceTransform(globalExpression(u"(\\d+)px"), u"$1\u4e2d"),
                  testing::inFolder(dir.folder()), sink, &declines);
    } else {
        RegExp expr = globalExpression();
        const CommandTransform commands({{u"(\\d+)px", u"$1 px", true}, {u"row", u"Row", false}},
                                        expr);
        commands.leaveLastOn(expr,
                             runFolder(files, commands, testing::inFolder(dir.folder()), sink));
        EXPECT_EQ(expr.pattern(), u"row");  // left on the last command, as the window expects
    }
    setWorkerThreads(0);
    return {sink.events, contentsOf(dir.path())};
}

TEST(ParallelRuns, ReportAndWriteExactlyWhatOneThreadDoes) {
    for (const std::string kind : {"search", "replace", "batch"}) {
        SCOPED_TRACE(kind);
        const Outcome one = runAll(1, kind);
        const Outcome four = runAll(4, kind);
        EXPECT_EQ(four.events, one.events);
        EXPECT_EQ(four.files, one.files);
        EXPECT_GT(one.events.size(), 39u);
    }
}

struct stat statOf(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info;
}

void writeInPlace(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;  // same inode
}

TEST(LinkBackups, AreTheOriginalFileAndStayItWhateverLaterHappensToTheFile) {
    TempDir dir;
    const std::vector<FileItem> files = {{dir.put("a.htm", "1px"), true},
                                         {dir.put("b.htm", "no match"), true}};
    const struct stat original = statOf(dir.path() / "a.htm");

    // The backup is the original itself: its inode, bytes and time.
    ASSERT_TRUE(BackupOneFile(files[0].path, dir.folder() + u"bak/"));
    EXPECT_EQ(statOf(dir.path() / "bak/a.htm").st_ino, original.st_ino);

    // A replace (which backs up again) renames new content over the name: the backup keeps
    // the old file, and a later write in place through the name does not reach it.
    EventSink sink(dir.folder());
    runFolder(files, ReplaceTransform(globalExpression(u"px"), u"em"),
              testing::inFolder(dir.folder()), sink);
    const struct stat backup = statOf(dir.path() / "bak/a.htm");
    EXPECT_EQ(backup.st_ino, original.st_ino);
    EXPECT_EQ(backup.st_mtim.tv_sec, original.st_mtim.tv_sec);
    EXPECT_EQ(backup.st_mtim.tv_nsec, original.st_mtim.tv_nsec);
    writeInPlace(dir.path() / "a.htm", "edited");
    EXPECT_EQ(dir.bytes("bak/a.htm"), "1px");
    EXPECT_EQ(dir.bytes("b.htm"), "no match");
    EXPECT_FALSE(fs::exists(dir.path() / "bak/b.htm"));

    // The sibling backup of a save works the same way.
    saveWithBackup(files[1].path, u"saved", true);
    writeInPlace(dir.path() / "b.htm", "edited again");
    EXPECT_EQ(dir.bytes("b.bak"), "no match");

    // Where no link can be made (another file system) the backup is a copy.
    const fs::path shm = "/dev/shm";
    if (fs::is_directory(shm) && statOf(shm).st_dev != statOf(dir.path()).st_dev) {
        const fs::path away = shm / ("lodestar-test-" + std::to_string(::getpid()));
        std::ofstream(away) << "elsewhere";
        EXPECT_EQ(placeBackup(fromUtf8(away.string()), dir.file("bak/far.htm")),
                  BackupMethod::Copy);
        fs::remove(away);
        EXPECT_EQ(dir.bytes("bak/far.htm"), "elsewhere");
    }
}

// Makes the new contents durable, then ends the process at once: as a crash just before the
// first rename.
class CrashAfterFlush : public FileOutput {
  public:
    ssize_t writeSome(int fd, const char* data, std::size_t size) override {
        return ::write(fd, data, size);
    }
    bool flushToDisk(int fd) override { return ::fsync(fd) == 0; }
    bool flushFileSystem(int fd) override {
        ::syncfs(fd);
        ::_exit(0);
    }
};

TEST(ParallelRuns, ACrashBetweenTheDurableWriteAndTheRenameLosesNothing) {
    TempDir dir;
    std::vector<FileItem> files;
    for (int i = 0; i < 12; ++i)
        files.push_back(
            {dir.put("p" + std::to_string(i) + ".htm", std::to_string(i) + "px"), true});
    const auto before = contentsOf(dir.path());
    const pid_t child = ::fork();
    if (child == 0) {
        CrashAfterFlush crash;
        RunSettings settings = testing::inFolder(dir.folder());
        settings.output = &crash;
        EventSink sink(dir.folder());
        runFolder(files, ReplaceTransform(globalExpression(u"px"), u"em"), settings, sink);
        ::_exit(3);  // not reached: the flush ends the process
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    // Every file untouched; only the program's own temporary files are left over.
    std::size_t temporaries = 0;
    for (const auto& [name, bytes] : contentsOf(dir.path())) {
        if (name.starts_with(".lodestar-"))
            ++temporaries;
        else
            EXPECT_EQ(bytes, before.at(name)) << name;
    }
    EXPECT_EQ(temporaries, files.size());

    // The next run clears them away and does the whole work.
    EventSink sink(dir.folder());
    EXPECT_TRUE(runFolder(files, ReplaceTransform(globalExpression(u"px"), u"em"),
                          testing::inFolder(dir.folder()), sink)
                    .ok);
    const auto after = contentsOf(dir.path());
    for (int i = 0; i < 12; ++i) {
        const std::string name = "p" + std::to_string(i) + ".htm";
        EXPECT_EQ(after.at(name), std::to_string(i) + "em");
        EXPECT_EQ(after.at("bak/" + name), std::to_string(i) + "px");
    }
    for (const auto& [name, bytes] : after) EXPECT_FALSE(name.starts_with(".lodestar-")) << name;
}

}  // namespace
}  // namespace lodestar
