// Single-file operations for the backup and restore loops.
#include "files/file_ops.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace lodestar {
namespace {

namespace fs = std::filesystem;

TEST(FileOps, ReadOnlySizeAndRemove) {
    testing::TempDir dir;
    const std::u16string path = dir.put("a.txt", "12345");
    fs::permissions(dir.path() / "a.txt", fs::perms(0444));
    EXPECT_TRUE(isReadOnly(path));
    clearReadOnly(path);
    EXPECT_FALSE(isReadOnly(path));
    EXPECT_EQ(fs::status(dir.path() / "a.txt").permissions(), fs::perms(0644));
    EXPECT_EQ(fileSize(path), 5u);
    fs::create_symlink("a.txt", dir.path() / "link.txt");
    removeFile(dir.file("link.txt"));
    EXPECT_TRUE(fs::exists(dir.path() / "a.txt"));
    removeFile(path);
    EXPECT_THROW(removeFile(path), FileError);
    EXPECT_THROW(isReadOnly(path), FileError);
}

TEST(FileOps, CopyOverReplacesOrCreatesTheTargetAndRefusesAReadOnlyOne) {
    testing::TempDir dir;
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
