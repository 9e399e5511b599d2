// The folder picker and the path box: file types, the own type box, OK and Cancel, and what
// typing a path opens.
#include <filesystem>

#include "fakes/deferred_work_runner.h"
#include "files/folder_tree.h"
#include "forms/folder/drive_list.h"
#include "forms/folder/folder_fixture.h"

namespace lodestar::testing {
namespace {

using Names = std::vector<std::u16string>;

class Picker : public FolderTest {
  protected:
    void SetUp() override {
        FolderTest::SetUp();
        for (const char* name :
             {"b.htm", "A.HTML", "c.txt", "d.csv", "e.xml", "notes", ".hidden.htm"})
            put(name, "x");
        std::filesystem::create_directories(docs.path() / "sub");
        docs.put("sub/deep.htm", "x");
        w->click("btnOpenFolder");
        dlg().typeText("Dir1", docs.folder());
    }
    const Names& listed() { return dlg().controls()["File1"].items; }
};

TEST_F(Picker, EachFileTypeListsItsFilesOfTheFolderItselfInNameOrder) {
    const std::vector<std::pair<int, Names>> cases = {
        {1, {u"c.txt", u"d.csv"}},
        {2, {u"e.xml"}},
        {3, {}},
        {4, {u"A.HTML", u"b.htm", u"c.txt", u"d.csv", u"e.xml", u"notes"}},
        {5, {}},  // "Other" before a type is given matches no ordinary file
    };
    for (const auto& [index, names] : cases) {
        dlg().select("filter", index);
        EXPECT_EQ(listed(), names) << index;
    }
}

TEST_F(Picker, TheOwnTypeTakesEffectOnEnterOrWhenLeftWithText) {
    dlg().select("filter", 5);
    dlg().typeText("newfilter", u" txt;*.csv ");
    dlg().enter("newfilter");
    EXPECT_EQ(dlg().pattern(), u"*.txt;*.csv");
    EXPECT_EQ(listed(), (Names{u"c.txt", u"d.csv"}));
    EXPECT_EQ(dlg().focus(), "btnOK");

    dlg().typeText("newfilter", u"  ");
    dlg().focusLost("newfilter");  // leaving an empty box changes nothing
    EXPECT_EQ(dlg().pattern(), u"*.txt;*.csv");
    dlg().typeText("newfilter", u"xml");
    dlg().focusLost("newfilter");
    EXPECT_EQ(listed(), (Names{u"e.xml"}));
}

TEST_F(Picker, OkListsTheFolderAndCancelChangesNothing) {
    dlg().click("btnCancel");
    EXPECT_FALSE(dlg().shown());
    EXPECT_FALSE(w->MultiMode());
    w->click("btnOpenFolder");
    EXPECT_EQ(dlg().folder(), docs.folder());  // kept while hidden
    dlg().click("btnOK");
    settle();
    EXPECT_FALSE(dlg().shown());
    EXPECT_TRUE(w->MultiMode());
    EXPECT_EQ(folder().folder(), docs.folder());
    EXPECT_EQ(folder().fileList(), (Names{u"", docs.file("A.HTML"), docs.file("b.htm")}));
    EXPECT_NE(log().find("* Open files in folder " + u8(docs.folder())), std::string::npos);
}

TEST_F(Picker, ChoosingADriveGoesToItsRoot) {
    FolderScope other(*w, prompts, runner, docs.folder(), {u"/", docs.file("sub")});
    other.picker().load();
    EXPECT_EQ(other.picker().controls()["Drive1"].selected, 0);  // "/" holds the start folder
    other.picker().select("Drive1", 1);
    EXPECT_EQ(other.picker().folder(), docs.file("sub"));
    EXPECT_EQ(c("inputPath").text, docs.file("sub"));
    EXPECT_EQ(other.picker().controls()["File1"].items, (Names{u"deep.htm"}));
}

// Holds OK's walk until the test lets it go, and lets the test look on after each count.
struct WalkRunner : fakes::DeferredWorkRunner {
    void post(std::function<void()> report) override {
        report();
        if (afterReport) afterReport();
    }
    std::function<void()> afterReport;
};

TEST_F(Picker, OkWalksTheTreeOnTheRunnerWithAGrowingCountAndStopEndsTheWalk) {
    std::filesystem::create_directories(docs.path() / "sub2");
    docs.put("sub2/x.htm", "x");
    docs.put("sub2/y.htm", "x");
    WalkRunner walks;
    FolderScope other(*w, prompts, walks, docs.folder(), {u"/"});
    FolderDlg& picker = other.picker();
    picker.load();
    picker.click("chkSubfolders");
    picker.click("btnOK");
    picker.ok();  // refused while the walk waits
    ASSERT_EQ(walks.held.size(), 1u);
    EXPECT_TRUE(w->running());
    EXPECT_TRUE(other.fileList().empty());
    std::vector<std::string> counts;
    walks.afterReport = [&] { counts.push_back(text("lblStatus")); };
    walks.finishOne();
    EXPECT_EQ(counts,
              (std::vector<std::string>{"Listing files: 2 found ...", "Listing files: 3 found ...",
                                        "Listing files: 5 found ..."}));
    EXPECT_FALSE(w->running());
    Names walked = listTree(docs.folder(), u"*.htm;*.html", {true, {}, u""}).files;
    walked.insert(walked.begin(), u"");
    EXPECT_EQ(other.fileList(), walked);

    counts.clear();
    walks.afterReport = [&] {
        counts.push_back(text("lblStatus"));
        w->click("btnStop");
    };
    picker.typeText("exclude", u"sub");  // a list that would differ, were it handed on
    picker.click("btnOK");
    walks.finishOne();
    EXPECT_EQ(counts.size(), 1u);  // no folder read after Stop
    EXPECT_EQ(text("lblStatus"), "Stopped.");
    EXPECT_FALSE(w->running());
    EXPECT_EQ(other.fileList(), walked);
    EXPECT_TRUE(picker.controls()["btnOK"].enabled);
}

TEST(DriveList, OffersRootHomeAndTheMountedVolumesAUserPicks) {
    const char* table =
        "/dev/sda1 / ext4 rw 0 0\n"
        "proc /proc proc rw 0 0\n"
        "/dev/sdb1 /media/ann/USB\\040STICK vfat rw 0 0\n"
        "/dev/sdc1 /mnt/data ext4 rw 0 0\n"
        "/dev/sdd1 /run/media/ann/CARD exfat rw 0 0\n"
        "tmpfs /run/user/1000 tmpfs rw 0 0\n"
        "/dev/sdc1 /mnt/data ext4 rw 0 0\n"
        "/dev/sde1 /mediafiles ext4 rw 0 0\n";
    EXPECT_EQ(
        pickableDrives(table, u"/home/ann"),
        (Names{u"/", u"/home/ann", u"/media/ann/USB STICK", u"/mnt/data", u"/run/media/ann/CARD"}));
}

// ---- The path box ---------------------------------------------------------------------------

class PathBox : public FolderTest {
  protected:
    void type(const std::u16string& text) {
        w->typeText("inputPath", text);
        w->enterText("inputPath");
        settle();
    }
};

TEST_F(PathBox, OpensAFileAFolderAFolderWithATypeOrSaysItCannotFindThePath) {
    put("a.htm", "<p>a</p>");
    put("b.txt", "b");
    put("c.txt", "c");

    type(docs.file("a.htm"));
    EXPECT_FALSE(w->MultiMode());
    EXPECT_EQ(w->document().path, docs.file("a.htm"));

    type(u"  " + fromUtf8(docs.path().string()) + u"  ");  // the folder, spaces trimmed
    EXPECT_TRUE(w->MultiMode());
    EXPECT_EQ(folder().fileList(), (Names{u"", docs.file("a.htm")}));
    EXPECT_FALSE(dlg().shown());  // opened through the picker without showing it

    type(docs.folder() + u"*.txt");
    EXPECT_EQ(folder().fileList(), (Names{u"", docs.file("b.txt"), docs.file("c.txt")}));
    EXPECT_EQ(c("inputPath").text, docs.folder());

    const std::string before = log();
    type(docs.file("missing.htm"));
    type(docs.folder() + u"nowhere/*.htm");
    EXPECT_EQ(log(), before + "Err:Can't find the path\r\nErr:Can't find the path\r\n");
    EXPECT_EQ(folder().fileList().size(), 3u);
}

TEST_F(PathBox, AFolderRelativeToTheWorkingFolderOpensAsItsAbsoluteFolder) {
    std::filesystem::create_directories(docs.path() / "site");
    docs.put("site/a.htm", "a");
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(docs.path());
    type(u"site/*.htm");
    std::filesystem::current_path(cwd);
    EXPECT_EQ(folder().folder(), docs.folder() + u"site/");
    EXPECT_EQ(folder().fileList(), (Names{u"", docs.folder() + u"site/a.htm"}));
}

TEST_F(PathBox, LeavingTheBoxOpensOnlyANewNonEmptyPath) {
    put("a.htm", "a");
    w->typeText("inputPath", u"   ");
    w->textFocusLost("inputPath");
    EXPECT_EQ(log(), "");
    type(docs.folder());
    findAll(u"a");
    const std::string counted = matchesOf(1);
    w->textFocusLost("inputPath");  // the box shows the open folder: its counts stay
    EXPECT_EQ(matchesOf(1), counted);
    EXPECT_EQ(counted, "1");
}

}  // namespace
}  // namespace lodestar::testing
