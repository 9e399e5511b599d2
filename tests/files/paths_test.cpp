// Path helpers on "/"-separated paths.
#include "files/paths.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace lodestar {
namespace {

TEST(Paths, NamesAndParentsAreCutAtTheLastSeparator) {
    EXPECT_EQ(FileNameOf(u"/data/page.htm"), u"page.htm");
    EXPECT_EQ(FileNameOf(u"page.htm"), u"page.htm");
    EXPECT_EQ(FileNameOf(u"/da.ta/notes"), u"");  // no dot in the name itself
    EXPECT_EQ(ParentFolderOf(u"/data/sub/page.htm"), u"/data/sub");
    EXPECT_EQ(ParentFolderOf(u"page.htm"), u"");
    EXPECT_EQ(ParentFolderOf(u""), u"");
}

TEST(Paths, SizeInKBCountsStartedKilobytes) {
    EXPECT_EQ(SizeInKB(0), u"1 KB");
    EXPECT_EQ(SizeInKB(1023), u"1 KB");
    EXPECT_EQ(SizeInKB(1024), u"2 KB");
    EXPECT_EQ(SizeInKB(2048), u"3 KB");
}

TEST(Paths, NormalizeFolderAndExistenceFollowWhatIsOnDisk) {
    testing::TempDir dir;
    std::filesystem::create_directory(dir.path() / "data");
    const std::u16string data = dir.file("data"), file = dir.put("a.txt", "x");
    std::filesystem::create_symlink(dir.path() / "a.txt", dir.path() / "link.txt");
    EXPECT_EQ(NormalizeFolder(data), data + u"/");
    EXPECT_EQ(NormalizeFolder(data + u"/"), data + u"/");
    EXPECT_EQ(NormalizeFolder(dir.file("missing")), u"");
    EXPECT_EQ(NormalizeFolder(file), u"");
    EXPECT_TRUE(fileExists(dir.file("link.txt")));
    EXPECT_FALSE(fileExists(data));
    EXPECT_TRUE(folderExists(data));
    EXPECT_FALSE(folderExists(file));
}

}  // namespace
}  // namespace lodestar
