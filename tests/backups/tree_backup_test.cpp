// A replace over a whole tree: backup names that mirror it, and restores that never write
// through a link nor leave the folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "backups/backup.h"
#include "backups/backup_paths.h"
#include "core/text.h"
#include "files/folder_tree.h"
#include "runs/multi_replace.h"
#include "support/recording_sink.h"
#include "support/run_helpers.h"
#include "support/sample_tree.h"

namespace lodestar {
namespace {

namespace fs = std::filesystem;
using testing::RecordingSink;
using testing::SampleTree;
using testing::TempDir;

class TreeReplace : public ::testing::Test {
  protected:
    TempDir dir;
    SampleTree tree{dir};
    RecordingSink sink;
    testing::ReadOnlyAnswer yes{true};

    std::vector<FileItem> walked() {
        std::vector<FileItem> files;
        for (const std::u16string& path :
             listTree(dir.folder(), u"*.htm", {true, SampleTree::excludeGlobs(), u""}).files)
            files.push_back({path, true});
        return files;
    }
    RunSummary replaceAll() {
        return runFolder(walked(), ReplaceTransform(testing::globalExpression(u"x"), u"<x>"),
                         testing::inFolder(dir.folder()), sink, &yes);
    }
};

TEST_F(TreeReplace, RestoreNeverWritesThroughALinkNorOutsideTheFolder) {
    ASSERT_TRUE(replaceAll().ok);
    TempDir outside;
    outside.put("d e.htm", "outside");
    // The user replaced a subfolder by a link after the run: nothing is written through it.
    fs::rename(dir.path() / "one/two", dir.path() / "one/moved");
    fs::create_symlink(outside.path(), dir.path() / "one/two");
    EXPECT_FALSE(RestoreFolder(dir.folder(), u"", sink));
    EXPECT_EQ(outside.bytes("d e.htm"), "outside");
    EXPECT_TRUE(fs::exists(dir.path() / "bak/one/two/d e.htm"));  // its backup stays

    // A journal naming a path out of the folder, and a link on the way inside the backups.
    fs::remove(dir.path() / "one/two");
    fs::rename(dir.path() / "one/moved", dir.path() / "one/two");
    dir.put("bak/.lodestar-journal",
            "lodestar run journal 1\nbackup ../escape.htm\nbackup one/two/d e.htm\n"
            "backup sub/x.htm\nbackup a.htm\n");
    dir.put("escape.htm", "");  // a backup that the bad name would reach
    outside.put("x.htm", "read through a link");
    fs::create_symlink(outside.path(), dir.path() / "bak/sub");
    RecordingSink again;
    EXPECT_FALSE(RestoreFolder(dir.folder(), u"", again));
    EXPECT_EQ(dir.bytes("one/two/d e.htm"), "x one/two/d e.htm");
    EXPECT_EQ(dir.bytes("a.htm"), "x a.htm");
    EXPECT_FALSE(fs::exists(dir.path() / "sub"));
    EXPECT_FALSE(fs::exists(dir.path().parent_path() / "escape.htm"));
    // Each file not put back is listed with its reason, and the run says so.
    // (a.htm went back with the first restore; the hand-made journal still names it).
    ASSERT_EQ(again.lines.size(), 3u);
    EXPECT_NE(again.lines[0].find(u"leads out of the folder"), std::u16string::npos);
    EXPECT_NE(again.lines[1].find(u"symbolic link"), std::u16string::npos);
    EXPECT_NE(again.lines[2].find(u"its backup is missing"), std::u16string::npos);
    EXPECT_EQ(again.errors.size(), 1u);
}

TEST(BackupPaths, NamesMirrorTheTreeAndNeverLeaveIt) {
    EXPECT_EQ(backupNameOf(u"/w/", u"/w/sub/dir/page.htm"), u"sub/dir/page.htm");
    EXPECT_EQ(backupNameOf(u"/w", u"/w/page.htm"), u"page.htm");
    EXPECT_EQ(backupNameOf(u"/w/", u"/elsewhere/page.htm"), u"page.htm");
    for (const char16_t* name : {u"", u"/abs", u"a//b", u"../x", u"a/./b", u"a/.."})
        EXPECT_FALSE(isPlainRelativeName(name)) << toUtf8(name);
    EXPECT_TRUE(isPlainRelativeName(u"a/b c/<&>.htm"));
}

}  // namespace
}  // namespace lodestar
