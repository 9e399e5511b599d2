// A path among a list of files, by identity.
#include "files/same_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace lodestar {
namespace {

TEST(SameFile, FindsAListedFileByAnyNameButNoOtherFile) {
    testing::TempDir dir;
    namespace fs = std::filesystem;
    dir.put("a.txt", "a");
    dir.put("b.txt", "b");
    fs::create_directory(dir.path() / "sub");
    fs::create_symlink(dir.path() / "a.txt", dir.path() / "link.txt");
    fs::create_hard_link(dir.path() / "a.txt", dir.path() / "hard.txt");
    const std::vector<std::u16string> listed{dir.file("a.txt")};
    const struct {
        std::string name;
        bool listed;
    } cases[] = {
        {"a.txt", true},  {"sub/../a.txt", true}, {"link.txt", true}, {"hard.txt", true},
        {"b.txt", false}, {"missing.txt", false}, {"sub", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isOneOfFiles(dir.file(c.name), listed), c.listed) << c.name;
        EXPECT_EQ(isOneOfFiles(dir.file(c.name), std::vector<FileItem>{{listed[0], false}}),
                  c.listed)
            << c.name;
    }
    EXPECT_FALSE(isOneOfFiles(dir.file("a.txt"), std::vector<std::u16string>{}));
}

}  // namespace
}  // namespace lodestar
