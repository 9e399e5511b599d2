// The picker's choice: what Cancel puts back, the own type and the typed folder taking effect,
// and the choices remembered for the next run.
#include <filesystem>

#include "forms/folder/folder_fixture.h"
#include "support/temp_dir.h"

namespace lodestar::testing {
namespace {

using Names = std::vector<std::u16string>;

class PickerChoice : public FolderTest {
  protected:
    void SetUp() override {
        FolderTest::SetUp();
        for (const char* name : {"a.htm", "b.c", "c.txt"}) put(name, "x");
        std::filesystem::create_directories(docs.path() / "sub");
        docs.put("sub/d.htm", "x");
    }
    const Names& listed() { return dlg().controls()["File1"].items; }
};

TEST_F(PickerChoice, CancelPutsBackTheChoiceOfTheOpeningAndThePathBox) {
    openFolder({});
    const std::u16string pathBox = c("inputPath").text;
    w->click("btnOpenFolder");
    dlg().typeText("Dir1", docs.folder() + u"sub");
    dlg().select("filter", 1);
    dlg().click("chkSubfolders");
    EXPECT_EQ(c("inputPath").text, docs.folder() + u"sub");  // it follows the browsing
    dlg().click("btnCancel");
    EXPECT_FALSE(dlg().shown());
    EXPECT_EQ(c("inputPath").text, pathBox);
    EXPECT_EQ(dlg().folder(), docs.folder());
    EXPECT_EQ(dlg().controls()["filter"].selected, 0);
    EXPECT_FALSE(dlg().controls()["chkSubfolders"].checked);
    EXPECT_EQ(listed(), Names{u"a.htm"});
}

TEST_F(PickerChoice, TheListFollowsTheOwnTypeAsTypedAndWhenOtherIsChosenAgain) {
    w->click("btnOpenFolder");
    dlg().typeText("Dir1", docs.folder());
    dlg().select("filter", 5);
    dlg().typeText("newfilter", u"c");
    EXPECT_EQ(listed(), Names{u"b.c"});
    dlg().select("filter", 0);
    EXPECT_EQ(listed(), Names{u"a.htm"});
    dlg().select("filter", 5);
    EXPECT_EQ(dlg().pattern(), u"*.c");
    EXPECT_EQ(listed(), Names{u"b.c"});
}

TEST_F(PickerChoice, ATypedFolderIsGoneToOnEnterAndAMissingOneIsRefused) {
    w->click("btnOpenFolder");
    for (const char* typed : {"sub", "none"}) {
        dlg().typeText("txtPath", docs.folder() + fromUtf8(typed));
        dlg().enter("txtPath");
        EXPECT_EQ(dlg().folder(), docs.folder() + u"sub");
        EXPECT_EQ(dlg().controls()["txtPath"].text, docs.folder() + u"sub");
        EXPECT_EQ(listed(), Names{u"d.htm"});
    }
}

TEST_F(PickerChoice, TheTypeSubfoldersExcludeAndFoldersChosenAreRememberedForTheNextRun) {
    const std::u16string file = program.folder() + u"state/folder-picker";
    dlg().setStateFile(file);
    w->click("btnOpenFolder");
    dlg().typeText("Dir1", docs.folder());
    dlg().select("filter", 5);
    dlg().typeText("newfilter", u"htm");
    dlg().click("chkSubfolders");
    dlg().typeText("exclude", u"none/**");
    dlg().click("btnOK");
    ASSERT_EQ(folder().fileList().size(), 3u);  // a.htm and sub/d.htm

    start();
    dlg().setStateFile(file);
    w->click("btnOpenFolder");
    const ControlModel& m = dlg().controls();
    EXPECT_EQ(m["filter"].selected, 5);
    EXPECT_EQ(m["newfilter"].text, u"htm");
    EXPECT_TRUE(m["chkSubfolders"].checked);
    EXPECT_EQ(m["exclude"].text, u"none/**");
    EXPECT_EQ(m["Drive1"].items.back(), docs.folder());  // offered among the drives

    // An older or damaged file gives what can be read of it.
    TempDir other;
    other.put("folder-picker", "type=2\nsubfolders=yes\nnonsense\nexclude=x\\\\y\n");
    EXPECT_EQ(loadPickerState(other.file("folder-picker")),
              (PickerState{2, u"", false, u"x\\y", {}}));
}

}  // namespace
}  // namespace lodestar::testing
