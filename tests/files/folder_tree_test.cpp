// Paths and folders: path helpers, wildcards, the folder listing and the walk over a tree.
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>

#include "core/text.h"
#include "files/absolute_path.h"
#include "files/file_error.h"
#include "files/folder_listing.h"
#include "files/folder_tree.h"
#include "files/path_glob.h"
#include "files/paths.h"
#include "files/same_file.h"
#include "support/sample_tree.h"
#include "support/temp_dir.h"
#include "support/without_root.h"

namespace lodestar {
namespace {

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

TEST(AbsolutePath, FoldsDotsAndSlashesAgainstTheBase) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"site", u"/home/me/site"},
        {u"site/", u"/home/me/site/"},
        {u".", u"/home/me/"},
        {u"./site/*.htm", u"/home/me/site/*.htm"},
        {u"../x//y/./z", u"/home/x/y/z"},
        {u"site/..", u"/home/me/"},
        {u"../../../..", u"/"},
        {u"/abs/./b/../c", u"/abs/c"},
        {u"/", u"/"},
        {u"", u""}};
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(absolutePath(path, u"/home/me"), expected) << toUtf8(path);
}

namespace fs = std::filesystem;

// The folder listing below matches capitals and names without a dot too.
TEST(Wildcard, StarQuestionMarkAndCaseInsensitiveLetters) {
    EXPECT_FALSE(matchesWildcard(u"page.htm.bak", u"*.htm"));
    EXPECT_TRUE(matchesWildcard(u"a1.txt", u"a?.txt"));
    EXPECT_FALSE(matchesWildcard(u"a.txt", u"a?.txt"));
    EXPECT_TRUE(matchesWildcard(u"\U0001F600.txt", u"?.txt"));  // one character, two code units
    EXPECT_TRUE(matchesWildcard(u"abxbcxbc", u"a*bc*bc"));      // the star must backtrack
    EXPECT_TRUE(matchesWildcard(u"\u00C9T\u00C9.TXT", u"\u00E9t\u00E9.txt"));
    EXPECT_FALSE(matchesWildcard(std::u16string(200, u'a'), u"*a*a*a*a*a*a*a*a*b"));  // quickly
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
        for (const auto& path : listFolder(dir.folder(), patterns))
            found += replacedAll(path, dir.folder(), u"") + u" ";
        return found;
    };
    EXPECT_EQ(names(u"*.htm;*.html"), u"Apple.htm b.html INDEX.HTML link.htm page.htm ");
    EXPECT_EQ(names(u"*.*"),
              u"Apple.htm b.html INDEX.HTML link.htm page.htm Readme readme style.css ");
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

using testing::SampleTree;
using testing::TempDir;

TEST(PathGlob, StarsQuestionMarksAndFolders) {
    const std::u16string sixtyAs(60, u'a');  // backtracking must stay bounded
    struct Case {
        const char16_t* path;
        const char16_t* glob;
        bool matches;
    } cases[] = {
        {u"a/b/c.js", u"**/*.js", true},
        {u"c.js", u"**/*.js", true},
        {u"a/c.js", u"*.js", false},
        {u"a/c.js", u"a/*.js", true},
        {u"a/b/c.js", u"a/*.js", false},
        {u"a/b/c.js", u"a/**", true},
        {u"ab/c", u"a?/c", true},
        {u"a/c", u"a?c", false},
        {u"Build/X.JS", u"build/*.js", true},
        {u"buildx/a", u"build/**", false},
        {sixtyAs.c_str(), u"**a**a**a**a**b", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(matchesPathGlob(c.path, c.glob), c.matches)
            << toUtf8(c.path) << " ~ " << toUtf8(c.glob);
}

TEST(PathGlob, NamesAtAnyDepthAnchoredPathsAndFolderOnlyGlobs) {
    struct Case {
        const char16_t* glob;
        const char16_t* path;
        bool isFolder;
        bool excluded;
    } cases[] = {
        // A "*.min" glob at depth and "build/**" at the top: the walk of the sample tree.
        {u"node_modules", u"web/node_modules", true, true},
        {u"build/**", u"web/build", true, false},
        {u"/docs/old", u"docs/old", true, true},
        {u"tmp/", u"tmp", false, false},
        {u"tmp/", u"a/tmp", true, true},
        {u"a/*.htm", u"a/b/c.htm", false, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(excludedByGlobs({c.glob}, c.path, c.isFolder), c.excluded)
            << toUtf8(c.glob) << " ~ " << toUtf8(c.path);
    EXPECT_EQ(splitGlobList(u" build/** ;; *.min.js "),
              (std::vector<std::u16string>{u"build/**", u"*.min.js"}));
}

std::vector<std::u16string> relative(const TempDir& dir, const std::vector<std::u16string>& paths) {
    std::vector<std::u16string> names;
    for (const std::u16string& path : paths) names.push_back(relativeToFolder(dir.folder(), path));
    return names;
}

std::vector<std::u16string> wide(const std::vector<std::string>& names) {
    std::vector<std::u16string> out;
    for (const std::string& name : names) out.push_back(fromUtf8(name));
    return out;
}

TEST(FolderTree, WalksFolderByFolderInNameOrderPassingWhatItMustNotTouch) {
    TempDir dir;
    SampleTree tree(dir);
    const TreeRules rules{true, SampleTree::excludeGlobs(), u""};
    const TreeListing listing = listTree(dir.folder(), u"*.htm", rules);
    EXPECT_EQ(relative(dir, listing.files), wide(SampleTree::walked()));
    ASSERT_EQ(listing.notes.size(), 1u);  // the backup folder of a run in "one"
    EXPECT_NE(listing.notes[0].find(u"one/bak/"), std::u16string::npos);

    // Taken a folder at a time: the chosen folder's own files come alone, before any other
    // folder is read.
    TreeWalk walk(dir.folder(), u"*.htm", rules);
    std::vector<std::u16string> files, notes;
    ASSERT_TRUE(walk.next(files, notes));
    EXPECT_EQ(relative(dir, files), (std::vector<std::u16string>{u"a.htm", u"b <&>.htm"}));
    ASSERT_TRUE(walk.next(files, notes));
    EXPECT_EQ(files.size(), 3u);  // and locked/z.htm

    // The backup folder of the chosen folder is never walked, whatever its name.
    dir.put("keep/k.htm", "x");
    EXPECT_EQ(relative(dir, listTree(dir.folder(), u"*.htm", {true, {}, u"keep"}).files).size(),
              SampleTree::walked().size() + 3);  // node_modules, build, c.min.htm back; not keep

    // Without subfolders: exactly the folder's own files, as before.
    EXPECT_EQ(relative(dir, listTree(dir.folder(), u"*.htm", {}).files),
              (std::vector<std::u16string>{u"a.htm", u"b <&>.htm"}));
    EXPECT_EQ(relative(dir, listTree(dir.folder(), u"*.htm", {false, {u"b*"}, u""}).files),
              (std::vector<std::u16string>{u"a.htm"}));
    EXPECT_THROW(listTree(dir.folder() + u"none/", u"*.*", rules), FileError);

    // A preview limit: the folder's own files all count, and no further subfolder is read.
    TreeRules preview = rules;
    preview.limit = 1;
    const TreeListing cut = listTree(dir.folder(), u"*.htm", preview);
    EXPECT_FALSE(cut.complete);
    EXPECT_EQ(relative(dir, cut.files), (std::vector<std::u16string>{u"a.htm", u"b <&>.htm"}));
    preview.limit = 1000;
    EXPECT_TRUE(listTree(dir.folder(), u"*.htm", preview).complete);
}

TEST(FolderTree, AFolderThatCannotBeReadIsPassedWithANote) {
    TempDir dir;
    SampleTree tree(dir);
    std::filesystem::permissions(dir.path() / "locked", std::filesystem::perms::none);
    std::vector<std::u16string> expected = wide(SampleTree::walked());
    std::erase(expected, u"locked/z.htm");
    const int outcome = testing::exitCodeWithoutRoot([&] {
        const TreeListing listing =
            listTree(dir.folder(), u"*.htm", {true, SampleTree::excludeGlobs(), u""});
        const bool noted =
            listing.notes.size() == 2 && listing.notes[0].find(u"locked") != std::u16string::npos;
        return relative(dir, listing.files) == expected && noted ? 0 : 1;
    });
    EXPECT_EQ(outcome, 0);
}

// A file's name as the questions and messages show it.
TEST(FileNameOf, TheWholeLastPartWithOrWithoutDots) {
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"/home/ann/Makefile", u"Makefile"},
        {u"/home/ann/.bashrc", u".bashrc"},
        {u"/home/ann/draft.", u"draft."},
        {u"/home/my.folder/README", u"README"},
        {u"/home/ann/", u""},
        {u"", u""}};
    for (const auto& [path, name] : cases) EXPECT_EQ(FileNameOf(path), name) << toUtf8(path);
}

}  // namespace
}  // namespace lodestar
