// Text files: exact reading, byte-exact writing, and the guarantees that a failed write
// leaves the old content in place.
#include "files/text_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "core/text.h"
#include "support/temp_dir.h"
#include "support/without_root.h"

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

TEST(TextFile, LoadsExactlyTheBytesAndNamesPathAndReasonOnFailure) {
    TempDir dir;
    EXPECT_EQ(LoadFileText(dir.put("empty.txt", "")), u"");
    EXPECT_EQ(LoadFileText(dir.put("abc.txt", "abc\r\n")), u"abc\r\n");
    EXPECT_EQ(LoadFileText(dir.put("mixed.txt", "a\rb\nc\r\n\x80")), u"a\rb\nc\r\n\u20AC");
    const std::string missing = failureOf([&] { LoadFileText(dir.file("none.txt")); });
    EXPECT_TRUE(contains(missing, "Cannot read the file \"" + toUtf8(dir.file("none.txt")) +
                                      "\": No such file or directory."));
    EXPECT_TRUE(contains(failureOf([&] { LoadFileText(dir.folder()); }), "Is a directory"));
}

TEST(TextFile, WriteKeepsEveryByteAndNeverCreatesAFile) {
    TempDir dir;
    std::string bytes;
    for (int b = 0; b < 512; ++b) bytes.push_back(static_cast<char>(b));
    dir.put("copy.bin", "a longer old content than the new one");
    WriteTextFile(dir.file("copy.bin"), LoadFileText(dir.put("all.bin", bytes)));
    EXPECT_EQ(dir.bytes("copy.bin"), bytes);

    EXPECT_TRUE(contains(failureOf([&] { WriteTextFile(dir.file("b.txt"), u"x"); }),
                         ": it does not exist."));
    EXPECT_FALSE(fs::exists(dir.path() / "b.txt"));
}

TEST(TextFile, PrintCreatesOrTruncatesAndEndsWithOneCrLf) {
    TempDir dir;
    EXPECT_TRUE(PrintTextFile(dir.file("new.txt"), u"line 1\r\nline 2"));
    EXPECT_EQ(dir.bytes("new.txt"), "line 1\r\nline 2\r\n");
    const mode_t umaskBits = ::umask(0);
    ::umask(umaskBits);
    EXPECT_EQ(fs::status(dir.path() / "new.txt").permissions(), fs::perms(0666 & ~umaskBits));
    dir.put("old.txt", "0123456789");
    PrintTextFile(dir.file("old.txt"), u"");
    EXPECT_EQ(dir.bytes("old.txt"), "\r\n");
    EXPECT_EQ(entriesIn(dir.path()), 2u);
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
                                          "\": The text "
                                          "holds a character (U+4E2D)"));
    fs::permissions(dir.path() / "a.txt", fs::perms(0444));
    EXPECT_TRUE(contains(failureOf([&] { WriteTextFile(path, u"new"); }), ": it is read-only."));
    EXPECT_TRUE(contains(failureOf([&] { PrintTextFile(path, u"new"); }), ": it is read-only."));
    EXPECT_EQ(dir.bytes("a.txt"), "old");
    EXPECT_EQ(entriesIn(dir.path()), 1u);
}

TEST(TextFile, AFolderThatCannotBeWrittenLeavesTheFileIntact) {
    TempDir dir;
    fs::create_directory(dir.path() / "locked");
    const std::u16string path = dir.put("locked/a.txt", "old");
    fs::permissions(dir.path(), fs::perms(0755));
    fs::permissions(dir.path() / "locked" / "a.txt", fs::perms(0666));
    fs::permissions(dir.path() / "locked", fs::perms(0555));
    // Exit code 0: refused with the system's reason.
    int outcome = testing::exitCodeWithoutRoot([&] {
        return contains(failureOf([&] { WriteTextFile(path, u"new"); }), "Permission denied") ? 0
                                                                                              : 1;
    });
    fs::permissions(dir.path() / "locked", fs::perms(0755));
    if (outcome == testing::kCannotDropRoot) GTEST_SKIP() << "cannot give up root here";
    EXPECT_EQ(outcome, 0);
    EXPECT_EQ(dir.bytes("locked/a.txt"), "old");
    EXPECT_EQ(entriesIn(dir.path() / "locked"), 1u);
}

}  // namespace
}  // namespace lodestar
