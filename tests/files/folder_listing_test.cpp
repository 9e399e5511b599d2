// Wildcards and the folder listing: which files a filter takes, and in what order.
#include "files/folder_listing.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/text.h"
#include "support/temp_dir.h"

namespace lodestar {
namespace {

namespace fs = std::filesystem;

TEST(Wildcard, StarQuestionMarkAndCaseInsensitiveLetters) {
    EXPECT_TRUE(matchesWildcard(u"INDEX.HTML", u"*.html"));
    EXPECT_FALSE(matchesWildcard(u"page.htm.bak", u"*.htm"));
    EXPECT_TRUE(matchesWildcard(u"a1.txt", u"a?.txt"));
    EXPECT_FALSE(matchesWildcard(u"a.txt", u"a?.txt"));
    EXPECT_TRUE(matchesWildcard(u"\U0001F600.txt", u"?.txt"));  // one character, two code units
    EXPECT_TRUE(matchesWildcard(u"abxbcxbc", u"a*bc*bc"));      // the star must backtrack
    EXPECT_TRUE(matchesWildcard(u"\u00C9T\u00C9.TXT", u"\u00E9t\u00E9.txt"));
    EXPECT_FALSE(matchesWildcard(std::u16string(200, u'a'), u"*a*a*a*a*a*a*a*a*b"));  // quickly
    EXPECT_TRUE(matchesWildcard(u"notes", u"*.*"));
    EXPECT_TRUE(matchesPatternList(u"b.csv", u"*.txt; *.csv ;"));
    EXPECT_FALSE(matchesPatternList(u"b.xml", u"*.txt;*.csv"));
    EXPECT_TRUE(matchesPatternList(u"b.xml", u" ; "));
}

TEST(FolderListing, TakesMatchingRegularFilesDirectlyInTheFolderInNameOrder) {
    testing::TempDir dir;
    for (const char* name : {"page.htm", "INDEX.HTML", "b.html", "Apple.htm", "Readme", "readme",
                             "style.css", ".hidden.htm", "sub/deep.htm"}) {
        fs::create_directories((dir.path() / name).parent_path());
        dir.put(name, "x");
    }
    fs::create_directory(dir.path() / "folder.htm");
    fs::create_symlink("b.html", dir.path() / "link.htm");
    fs::create_symlink("missing.htm", dir.path() / "dangling.htm");
    auto names = [&](std::u16string_view patterns) {
        std::u16string found;
        for (const auto& path : listFolder(dir.folder(), patterns)) {
            found += replacedAll(path, dir.folder(), u"") + u" ";
        }
        return found;
    };
    EXPECT_EQ(names(u"*.htm;*.html"), u"Apple.htm b.html INDEX.HTML link.htm page.htm ");
    EXPECT_EQ(names(u"*.*"),
              u"Apple.htm b.html INDEX.HTML link.htm page.htm Readme readme "
              u"style.css ");
    EXPECT_EQ(names(u"*.xml"), u"");
    EXPECT_EQ(listFolder(fromUtf8(dir.path().string()), u"*.css"),
              std::vector<std::u16string>{dir.folder() + u"style.css"});
    EXPECT_THROW(listFolder(dir.file("none"), u"*.*"), FileError);
}

TEST(FolderListing, NamesThatAreNotUtf8AreListedAndOpenByTheirPath) {
    testing::TempDir dir;
    dir.put("caf\xE9.txt", "Windows-1252 name");
    const std::vector<std::u16string> paths = listFolder(dir.folder(), u"*.txt");
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_EQ(paths[0], dir.folder() + u"caf\xDCE9.txt");
    EXPECT_EQ(fileSize(paths[0]), 17u);
}

}  // namespace
}  // namespace lodestar
