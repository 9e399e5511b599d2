// The safe whole-file replacement under failures put in through its output seam: whatever
// fails, the old content stays and no temporary file is left behind.
#include "files/safe_write.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "files/file_error.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

namespace fs = std::filesystem;

// How the output misbehaves: at most `chunk` bytes a call; `error` once `failAfter` bytes are
// written, or at the flush; EINTR for the first `interruptions` calls.
struct Script {
    std::size_t chunk = 1 << 20, failAfter = SIZE_MAX;
    bool failFlush = false;
    int error = ENOSPC, interruptions = 0;
};

class ScriptedOutput : public FileOutput {
  public:
    explicit ScriptedOutput(Script script) : script_(script) {}
    ssize_t writeSome(int fd, const char* data, std::size_t size) override {
        if (script_.interruptions-- > 0) return errno = EINTR, -1;
        if (written_ >= script_.failAfter) return errno = script_.error, -1;
        ssize_t count =
            ::write(fd, data, std::min({size, script_.chunk, script_.failAfter - written_}));
        if (count > 0) written_ += static_cast<std::size_t>(count);
        return count;
    }
    bool flushToDisk(int fd) override {
        if (script_.failFlush) return errno = script_.error, false;
        return ::fsync(fd) == 0;
    }

  private:
    Script script_;
    std::size_t written_ = 0;
};

std::string failureOf(const std::u16string& path, std::string_view bytes, Script script) {
    ScriptedOutput output(script);
    try {
        replaceFileBytes(path, bytes, ReplaceRules{}, output);
    } catch (const FileError& error) {
        return error.what();
    }
    return "no error";
}

TEST(SafeWrite, AWriteOrFlushFailingHalfWayKeepsTheOldContentAndNoTemporary) {
    testing::TempDir dir;
    const std::string old(50000, 'o');
    const std::u16string path = dir.put("a.txt", old);
    EXPECT_NE(failureOf(path, std::string(100000, 'n'), {.failAfter = 4096})
                  .find("No space left on device"),
              std::string::npos);
    EXPECT_NE(failureOf(path, "new", {.failFlush = true, .error = EIO}).find("Input/output error"),
              std::string::npos);
    EXPECT_NE(failureOf(dir.file("b.txt"), "new", {.failFlush = true}), "no error");
    EXPECT_EQ(dir.bytes("a.txt"), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(SafeWrite, ShortAndInterruptedWritesStillWriteEverything) {
    testing::TempDir dir;
    std::string bytes;
    for (int i = 0; i < 1000; ++i) bytes += std::to_string(i) + "\r\n";
    EXPECT_EQ(failureOf(dir.put("a.txt", "old"), bytes, {.chunk = 7, .interruptions = 3}),
              "no error");
    EXPECT_EQ(dir.bytes("a.txt"), bytes);
}

TEST(SafeWrite, AFileChangedSinceItsStampIsLeftAsTheOtherProgramWroteIt) {
    testing::TempDir dir;
    const std::u16string path = dir.put("a.txt", "read");
    const std::optional<FileStamp> stamp = stampOf(path);
    ASSERT_TRUE(stamp);
    dir.put("a.txt", "read and appended");
    ReplaceRules rules;
    rules.expected = stamp;
    EXPECT_THROW(replaceFileBytes(path, "new", rules), FileChangedError);
    EXPECT_EQ(dir.bytes("a.txt"), "read and appended");
    rules.expected = stampOf(path);
    replaceFileBytes(path, "new", rules);
    EXPECT_EQ(dir.bytes("a.txt"), "new");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(SafeWrite, WithoutFollowingLinksTheLinkItselfGivesWay) {
    testing::TempDir dir;
    dir.put("target.txt", "kept");
    fs::create_symlink("target.txt", dir.path() / "link.txt");
    ReplaceRules rules;
    rules.followLinks = false;
    replaceFileBytes(dir.file("link.txt"), "own", rules);
    EXPECT_FALSE(fs::is_symlink(dir.path() / "link.txt"));
    EXPECT_EQ(dir.bytes("link.txt") + dir.bytes("target.txt"), "ownkept");
}

}  // namespace
}  // namespace lodestar
