// Writing files: permissions and links kept, read-only refused, the safe whole-file replacement.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>

#include "core/text.h"
#include "files/file_error.h"
#include "files/file_ops.h"
#include "files/safe_write.h"
#include "files/text_file.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

std::string failureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const FileError& error) {
        return error.what();
    }
    return "no error";
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

std::size_t entriesIn(const fs::path& folder) {  // a leftover temporary file would count
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

TEST(TextFile, KeepsPermissionBitsAndWritesThroughSymbolicLinks) {
    TempDir dir;
    fs::create_directory(dir.path() / "sub");
    dir.put("real.txt", "old");
    fs::permissions(dir.path() / "real.txt", fs::perms(0640));
    fs::create_symlink("../real.txt", dir.path() / "sub" / "link.txt");
    WriteTextFile(dir.file("sub/link.txt"), u"new");
    EXPECT_TRUE(fs::is_symlink(dir.path() / "sub" / "link.txt"));
    EXPECT_EQ(dir.bytes("real.txt"), "new");
    EXPECT_EQ(fs::status(dir.path() / "real.txt").permissions(), fs::perms(0640));

    fs::create_symlink("made.txt", dir.path() / "dangling.txt");
    PrintTextFile(dir.file("dangling.txt"), u"x");
    EXPECT_TRUE(fs::is_symlink(dir.path() / "dangling.txt"));
    EXPECT_EQ(dir.bytes("made.txt"), "x\r\n");
}

TEST(TextFile, AReadOnlyFileOrAnUnencodableTextChangesNothing) {
    TempDir dir;
    const std::u16string path = dir.put("a.txt", "old");
    const std::string unencodable = failureOf([&] { WriteTextFile(path, u"new \u4E2D"); });
    EXPECT_TRUE(contains(unencodable, "Cannot write the file \"" + toUtf8(path) +
                                          "\": The text holds a character (U+4E2D)"));
    fs::permissions(dir.path() / "a.txt", fs::perms(0444));
    EXPECT_TRUE(contains(failureOf([&] { WriteTextFile(path, u"new"); }), ": it is read-only."));
    EXPECT_TRUE(contains(failureOf([&] { PrintTextFile(path, u"new"); }), ": it is read-only."));
    EXPECT_EQ(dir.bytes("a.txt"), "old");
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

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
    return failureOf([&] { replaceFileBytes(path, bytes, ReplaceRules{}, output); });
}

TEST(SafeWrite, AWriteOrFlushFailingHalfWayKeepsTheOldContentAndNoTemporary) {
    TempDir dir;
    const std::string old(50000, 'o');
    const std::u16string path = dir.put("a.txt", old);
    EXPECT_NE(failureOf(path, std::string(100000, 'n'), {.failAfter = 4096})
                  .find("No space left on device"),
              std::string::npos);
    EXPECT_NE(failureOf(path, "new", {.failFlush = true, .error = EIO}).find("Input/output error"),
              std::string::npos);
    EXPECT_NE(failureOf(dir.file("b.txt"), "new", {.failFlush = true}), "no error");
    EXPECT_EQ(dir.bytes("a.txt"), old);
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

TEST(SafeWrite, ShortAndInterruptedWritesStillWriteEverything) {
    TempDir dir;
    std::string bytes;
    for (int i = 0; i < 1000; ++i) bytes += std::to_string(i) + "\r\n";
    EXPECT_EQ(failureOf(dir.put("a.txt", "old"), bytes, {.chunk = 7, .interruptions = 3}),
              "no error");
    EXPECT_EQ(dir.bytes("a.txt"), bytes);
}

TEST(SafeWrite, AFileChangedSinceItsStampIsLeftAsTheOtherProgramWroteIt) {
    TempDir dir;
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
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

TEST(SafeWrite, WithoutFollowingLinksTheLinkItselfGivesWay) {
    TempDir dir;
    dir.put("target.txt", "kept");
    fs::create_symlink("target.txt", dir.path() / "link.txt");
    ReplaceRules rules;
    rules.followLinks = false;
    replaceFileBytes(dir.file("link.txt"), "own", rules);
    EXPECT_FALSE(fs::is_symlink(dir.path() / "link.txt"));
    EXPECT_EQ(dir.bytes("link.txt") + dir.bytes("target.txt"), "ownkept");
}

TEST(FileOps, CopyOverReplacesOrCreatesTheTargetAndRefusesAReadOnlyOne) {
    TempDir dir;
    fs::create_directory(dir.path() / "bak");
    const std::u16string from = dir.put("a.txt", "new\r\n");
    fs::permissions(dir.path() / "a.txt", fs::perms(0604));
    copyFileOver(from, dir.folder() + u"bak/");  // into the folder under its own name
    EXPECT_EQ(dir.bytes("bak/a.txt"), "new\r\n");
    EXPECT_EQ(fs::status(dir.path() / "bak" / "a.txt").permissions(), fs::perms(0604));

    dir.put("b.txt", "a longer old content");
    fs::permissions(dir.path() / "b.txt", fs::perms(0640));
    copyFileOver(from, dir.file("b.txt"));
    EXPECT_EQ(dir.bytes("b.txt"), "new\r\n");
    EXPECT_EQ(fs::status(dir.path() / "b.txt").permissions(), fs::perms(0640));

    const std::u16string readOnly = dir.put("ro.txt", "old");
    fs::permissions(dir.path() / "ro.txt", fs::perms(0444));
    EXPECT_THROW(copyFileOver(from, readOnly), FileError);
    EXPECT_THROW(copyFileOver(dir.file("none.txt"), dir.file("made.txt")), FileError);
    EXPECT_EQ(dir.bytes("ro.txt"), "old");
    EXPECT_FALSE(fs::exists(dir.path() / "made.txt"));
}

}  // namespace
}  // namespace lodestar
