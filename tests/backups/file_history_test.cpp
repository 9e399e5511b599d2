// The history of a single file's saves: sibling names, read-only files, steps, links, failures.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "backups/backup.h"
#include "backups/single_save.h"
#include "core/text.h"
#include "files/file_error.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

TEST(FileHistory, TheSiblingNeverTakesANameItDidNotWrite) {
    TempDir dir;
    dir.put("notes.bak", "the user's own");
    const auto notes = dir.put("notes.html", "one");
    const auto html = dir.put("page.html", "html one");
    const auto text = dir.put("page.txt", "text one");
    saveWithBackup(notes, u"two", true);
    saveWithBackup(html, u"html two", true);
    saveWithBackup(text, u"text two", true);
    saveWithBackup(text, u"text three", true);
    EXPECT_EQ(dir.bytes("notes.bak"), "the user's own");
    EXPECT_EQ(dir.bytes("notes.html.bak"), "one");
    EXPECT_EQ(dir.bytes("page.bak"), "html one");
    EXPECT_EQ(dir.bytes("page.txt.bak"), "text two");
    EXPECT_EQ(siblingBackupOf(text), dir.file("page.txt.bak"));

    // A file put at the sibling's name after the save is the user's: it stays.
    fs::remove(dir.path() / "page.txt.bak");
    dir.put("page.txt.bak", "the user's later file");
    EXPECT_TRUE(restoreSingleFile(text).restored);
    EXPECT_TRUE(restoreSingleFile(text).restored);
    EXPECT_TRUE(restoreSingleFile(notes).restored);
    EXPECT_EQ(dir.bytes("page.txt"), "text one");
    EXPECT_EQ(dir.bytes("page.txt.bak"), "the user's later file");
    EXPECT_EQ(dir.bytes("notes.bak"), "the user's own");
    EXPECT_FALSE(fs::exists(dir.path() / "notes.html.bak"));
    EXPECT_EQ(dir.bytes("page.bak"), "html one");
}

// A read-only file is saved only when the user allows it, keeps its bit through a failed save,
// and gets the bit and its time back with Restore.
TEST(FileHistory, AReadOnlyFileIsSavedOnlyWhenAllowedAndRestoredWithItsBit) {
    TempDir dir;
    const auto page = dir.put("page.htm", "old");
    const std::optional<FileStamp> stale = stampOf(page);
    const fs::file_time_type then = fs::file_time_type::clock::now() - std::chrono::hours(50);
    fs::last_write_time(dir.path() / "page.htm", then);
    fs::permissions(dir.path() / "page.htm", fs::perms::owner_write, fs::perm_options::remove);
    const auto readOnly = [&] {
        return (fs::status(dir.path() / "page.htm").permissions() & fs::perms::owner_write) ==
               fs::perms::none;
    };
    SingleSave how;
    how.kind = u"replace";
    EXPECT_FALSE(saveFileText(page, u"new", how, [] { return false; }));
    how.read = stale;
    EXPECT_THROW(saveFileText(page, u"new", how, [] { return true; }), FileChangedError);
    EXPECT_TRUE(readOnly());
    EXPECT_EQ(dir.bytes("page.htm"), "old");

    how.read = stampOf(page);
    EXPECT_TRUE(saveFileText(page, u"new", how, [] { return true; }));
    EXPECT_EQ(dir.bytes("page.htm"), "new");
    ASSERT_TRUE(restoreSingleFile(page).restored);
    EXPECT_EQ(dir.bytes("page.htm"), "old");
    EXPECT_EQ(fs::last_write_time(dir.path() / "page.htm"), then);
    EXPECT_TRUE(readOnly());
}

TEST(FileHistory, KeepsOnlyTheNewestSteps) {
    TempDir dir;
    const auto page = dir.put("page.htm", "0");
    for (int i = 1; i <= 5; ++i)
        saveWithBackup(page, fromUtf8(std::to_string(i)), true, {}, std::nullopt,
                       {u"save", false, 3});
    EXPECT_EQ(savedSteps(page).size(), 3u);
    while (restoreSingleFile(page).restored) {
    }
    EXPECT_EQ(dir.bytes("page.htm"), "2");
}

TEST(FileHistory, APathThatBecameALinkIsNotRestoredThrough) {
    TempDir dir;
    TempDir outside;
    outside.put("victim.txt", "precious");
    const auto page = dir.put("page.htm", "old");
    saveWithBackup(page, u"new", true);
    fs::remove(dir.path() / "page.htm");
    fs::create_symlink(outside.path() / "victim.txt", dir.path() / "page.htm");
    const SingleRestore refused = restoreSingleFile(page);
    EXPECT_FALSE(refused.restored);
    EXPECT_NE(refused.message.find(u"symbolic link"), std::u16string::npos);
    EXPECT_EQ(outside.bytes("victim.txt"), "precious");
}

TEST(FileHistory, AFailedSaveKeepsNoStep) {
    TempDir dir;
    const auto page = dir.put("page.htm", "old");
    saveWithBackup(page, u"new", true);
    const std::optional<FileStamp> stamp = stampOf(page);
    dir.put("page.htm", "another program's");
    EXPECT_THROW(saveWithBackup(page, u"mine", true, {}, stamp), FileChangedError);
    EXPECT_EQ(savedSteps(page).size(), 1u);
    EXPECT_EQ(dir.bytes("page.bak"), "old");
}

}  // namespace
}  // namespace lodestar
