// The walk over a tree: exclusion globs, the order of the files, and what it passes by.
#include "files/folder_tree.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/text.h"
#include "files/file_error.h"
#include "files/path_glob.h"
#include "support/sample_tree.h"
#include "support/without_root.h"

namespace lodestar {
namespace {

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
        {u"node_modules", u"web/node_modules", true, true},
        {u"*.min.js", u"web/lib/x.min.js", false, true},
        {u"build/**", u"build", true, true},
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

}  // namespace
}  // namespace lodestar
