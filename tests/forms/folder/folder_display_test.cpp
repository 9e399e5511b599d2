// What folder mode shows of its choice: the folder, the file type and the counts of listed and
// ticked files, and the names of files without a dot, which open like any other.
#include "forms/folder/folder_fixture.h"
#include "forms/folder/folder_info.h"

namespace lodestar::testing {
namespace {

constexpr int kAllFiles = 4;

class FolderDisplay : public FolderTest {
  protected:
    std::string info() { return u8(table().elementHtml(kFolderInfoId)); }
    std::string nameOf(std::size_t row) { return cellOf(row * 7 + 1); }
};

TEST_F(FolderDisplay, TheLineAboveTheTableNamesFolderTypeAndCountsAndFollowsTheTicks) {
    openFolder({{"a.htm", "x"}, {"b.htm", "x"}, {"c.txt", "x"}});
    EXPECT_NE(u8(table().bodyHtml())
                  .find(u8(docs.folder()) + "   Type: *.htm;*.html   "
                                            "2 files (2 ticked)"),
              std::string::npos);
    tick(1, false);
    tick(1, false);  // the same tick again counts once
    EXPECT_EQ(info(), u8(docs.folder()) + "   Type: *.htm;*.html   2 files (1 ticked)");

    w->click("btnOpenFolder");
    dlg().select("filter", kAllFiles);
    dlg().click("btnOK");
    settle();
    EXPECT_NE(u8(table().bodyHtml()).find("Type: All files   3 files (3 ticked)"),
              std::string::npos);
}

TEST_F(FolderDisplay, AFolderOpenedWithoutThePickerSaysWhichTypeListedItsFiles) {
    put("a.htm", "x");
    put("notes.txt", "x");
    w->openRequested(docs.folder());
    settle();
    EXPECT_NE(log().find("Listed the files of type *.htm;*.html"), std::string::npos) << log();
}

TEST_F(FolderDisplay, FilesWithoutADotAreNamedInTheirRowsAndOpenWhenClicked) {
    openFolder({{"Makefile", "all: build\n"}, {"README", "read me\n"}, {"x.txt", "x"}}, kAllFiles);
    EXPECT_EQ(nameOf(1), "Makefile");
    EXPECT_EQ(nameOf(2), "README");
    clickRow(1);
    EXPECT_EQ(w->document().path, docs.folder() + u"Makefile");
    EXPECT_EQ(u8(w->document().text), "all: build\n");
}

}  // namespace
}  // namespace lodestar::testing
