// The picker's choice: what Cancel puts back, the own type and the typed folder taking effect,
// the controls following the window's size, and the choices remembered for the next run.
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
    dlg().typeText("txtPath", docs.folder() + u"sub");
    dlg().enter("txtPath");
    EXPECT_EQ(dlg().folder(), docs.folder() + u"sub");
    EXPECT_EQ(listed(), Names{u"d.htm"});

    dlg().typeText("txtPath", docs.folder() + u"none");
    dlg().enter("txtPath");
    EXPECT_EQ(u8(prompts.asked.back().text), "Can't find the folder " + u8(docs.folder()) + "none");
    EXPECT_EQ(dlg().controls()["txtPath"].text, docs.folder() + u"sub");
    EXPECT_EQ(dlg().folder(), docs.folder() + u"sub");
}

TEST_F(PickerChoice, TheControlsFillTheWindowAtAnySizeWithoutOverlapping) {
    w->click("btnOpenFolder");
    const ControlModel& m = dlg().controls();
    for (bool other : {false, true}) {
        dlg().select("filter", other ? 5 : 0);
        for (auto [width, height] :
             {std::pair{6180.0, 4740.0}, {12000.0, 9000.0}, {3000.0, 2000.0}}) {
            dlg().resize(width, height);
            const double W = std::max(width, 6180.0), H = std::max(height, 4740.0);
            std::vector<std::pair<std::string, Rect>> shown;
            for (const std::string& name : m.names()) {
                if (name == "FolderDlg" || !m[name].visible) continue;
                const Rect r = m[name].geometry;
                EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right() <= W && r.bottom() <= H)
                    << name << " at " << width;
                for (const auto& [before, b] : shown)
                    EXPECT_TRUE(r.right() <= b.left || b.right() <= r.left || r.bottom() <= b.top ||
                                b.bottom() <= r.top)
                        << name << " overlaps " << before << " at " << width;
                shown.emplace_back(name, r);
            }
            // The tree and the list take what the window gives.
            EXPECT_GT(m["Dir1"].geometry.height, H / 2) << width;
            EXPECT_NEAR(m["File1"].geometry.right(), m["btnCancel"].geometry.right(), 1);
        }
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
