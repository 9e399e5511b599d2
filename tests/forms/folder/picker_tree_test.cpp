// The folder picker with "Include subfolders" and "Exclude", and the file table of a tree.
#include <filesystem>

#include "fakes/recording_pane_host.h"
#include "forms/folder/file_table_pieces.h"
#include "forms/folder/folder_fixture.h"

namespace lodestar::testing {
namespace {

using Names = std::vector<std::u16string>;

class PickerTree : public FolderTest {
  protected:
    void SetUp() override {
        FolderTest::SetUp();
        for (const char* name : {"a.htm", "sub/<b&c>.htm", "sub/deep/d e.htm", "sub/x.min.htm",
                                 "bak/old.htm", ".git/h.htm", "skip/s.htm"}) {
            std::filesystem::create_directories((docs.path() / name).parent_path());
            docs.put(name, "x");
        }
        std::filesystem::create_symlink("..", docs.path() / "sub/up");
        w->click("btnOpenFolder");
        dlg().typeText("Dir1", docs.folder());
    }
    const Names& listed() { return dlg().controls()["File1"].items; }
};

TEST_F(PickerTree, TheSwitchListsTheTreeLessTheExclusionsAndTheTableNamesRelativePaths) {
    EXPECT_EQ(listed(), (Names{u"a.htm"}));
    dlg().click("chkSubfolders");
    // The user's own bak/ (no run's journal in it) is walked like any other folder.
    EXPECT_EQ(listed(), (Names{u"a.htm", u"bak/old.htm", u"skip/s.htm", u"sub/<b&c>.htm",
                               u"sub/x.min.htm", u"sub/deep/d e.htm"}));
    dlg().typeText("exclude", u"skip; *.min.htm; bak");
    dlg().enter("exclude");
    EXPECT_EQ(listed(), (Names{u"a.htm", u"sub/<b&c>.htm", u"sub/deep/d e.htm"}));

    dlg().click("btnOK");
    settle();
    EXPECT_EQ(folder().fileList(), (Names{u"", docs.file("a.htm"), docs.file("sub/<b&c>.htm"),
                                          docs.file("sub/deep/d e.htm")}));
    EXPECT_EQ(table().cellHtml(kFileTableId, 1 * 7 + 1), u"<a href='#1'>a.htm</a>");
    EXPECT_EQ(table().cellHtml(kFileTableId, 2 * 7 + 1),
              u"<a href='#2'>sub/&lt;b&amp;c&gt;.htm</a>");
    EXPECT_EQ(cellOf(3 * 7 + 1), "sub/deep/d e.htm");
    EXPECT_EQ(cellOf(3 * 7 + 5), u8(docs.folder()) + "sub/deep");

    // Unticked again: the folder's own files, as without the switch.
    dlg().click("chkSubfolders");
    EXPECT_EQ(listed(), (Names{u"a.htm"}));
}

TEST_F(FolderTest, ALongTableComesInPiecesBuiltFromTheCellsAsTheyAreNow) {
    const std::size_t n = kPiecedTableRows + 1;
    for (std::size_t i = 1; i <= n; ++i) docs.put("f" + std::to_string(10000 + i) + ".htm", "x");
    openFolder({});
    tick(2, false);
    fakes::RecordingPaneHost host;
    table().attach(&host);
    EXPECT_NE(table().bodyHtml().find(u"id=\"infoHead\""), std::u16string::npos);
    ASSERT_NE(table().generation(kFileTableId), 0);
    EXPECT_EQ(table().rowCount(kFileTableId), n + 1);

    findAll(u"x");
    table().servePieces(kFileTableId, table().generation(kFileTableId), {0, n / 100});
    ASSERT_EQ(host.calls.size(), 2u);
    const std::string& first = host.calls[0];
    EXPECT_NE(first.find("<tr data-k=\"1\" bgcolor=\"white\"><td>1</td>"), std::string::npos);
    EXPECT_NE(first.find(">f10001.htm</a></td><td>1</td>"), std::string::npos);
    EXPECT_NE(first.find("<td>-</td><td></td><td>1 KB</td>"), std::string::npos);  // unticked
    EXPECT_NE(first.find("name=chk></td></tr><tr data-k=\"3\""), std::string::npos);
    EXPECT_NE(host.calls[1].find("data-k=\"" + std::to_string(n) + "\""), std::string::npos);
    EXPECT_EQ(host.calls[1].find("data-k=\"" + std::to_string(n + 1) + "\""), std::string::npos);
    table().attach(nullptr);
}

}  // namespace
}  // namespace lodestar::testing
