// Relative paths made absolute by their text alone.
#include "files/absolute_path.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "core/text.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

TEST(AbsolutePath, FoldsDotsAndSlashesAgainstTheBase) {
    const struct {
        std::u16string path;
        std::u16string expected;
    } cases[] = {
        {u"site", u"/home/me/site"},
        {u"site/", u"/home/me/site/"},
        {u".", u"/home/me/"},
        {u"./site/*.htm", u"/home/me/site/*.htm"},
        {u"../x//y/./z", u"/home/x/y/z"},
        {u"site/..", u"/home/me/"},
        {u"../../../..", u"/"},
        {u"/abs/./b/../c", u"/abs/c"},
        {u"/", u"/"},
        {u"", u""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(absolutePath(c.path, u"/home/me"), c.expected) << toUtf8(c.path);
}

TEST(AbsolutePath, ARelativePathStartsAtTheCurrentFolderAndKeepsItsLinks) {
    testing::TempDir dir;
    std::filesystem::create_directory(dir.path() / "real");
    std::filesystem::create_directory_symlink(dir.path() / "real", dir.path() / "link");
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const std::u16string made = absolutePath(u"link/a.txt");
    std::filesystem::current_path(before);
    EXPECT_EQ(made, fromUtf8(std::filesystem::canonical(dir.path()).string()) + u"/link/a.txt");
}

}  // namespace
}  // namespace lodestar
