// The file table: rows, ticks, picking a file, the search over the ticked files, the info line.
#include "fakes/deferred_work_runner.h"
#include "forms/folder/folder_fixture.h"
#include "forms/folder/folder_info.h"

namespace lodestar::testing {
namespace {

using FileTable = FolderTest;

constexpr int kAllFilesFilter = 4;

TEST_F(FileTable, NamesAreShownAsWrittenAndLinksStayRowNumbers) {
    openFolder({{"<img src=x onerror=alert(1)>.htm", "a"}, {"&amp;.htm", "b"}});
    const std::string body = u8(table().bodyHtml());
    EXPECT_EQ(body.find("<img"), std::string::npos);
    EXPECT_NE(body.find("<a href='#1'>&amp;amp;.htm</a>"), std::string::npos);
    EXPECT_NE(body.find("<a href='#2'>&lt;img src=x onerror=alert(1)&gt;.htm</a>"),
              std::string::npos);
    EXPECT_EQ(nameOf(2), "<img src=x onerror=alert(1)>.htm");
}

// The walk asks each file's size; every row shows its own file's, a long table's pieces too.
TEST_F(FileTable, EachRowShowsTheSizeOfItsOwnFile) {
    openFolder({{"a.htm", std::string(100, 'a')},
                {"b.htm", std::string(5000, 'b')},
                {"c.htm", std::string(9000, 'c')}});
    EXPECT_EQ(cellOf(1 * 7 + 4), "1 KB");
    EXPECT_EQ(cellOf(2 * 7 + 4), "5 KB");
    EXPECT_EQ(cellOf(3 * 7 + 4), "9 KB");

    const std::vector<std::u16string> files = {u"", docs.file("b.htm"), docs.file("gone.htm")};
    const lodestar::FileTable listed =
        buildFileTable(u"<table>", files, docs.folder(), {0, 20000, 7000});
    const lodestar::FileTable asked = buildFileTable(u"<table>", files, docs.folder());
    const lodestar::FileTable inPieces =
        buildFileTable(u"", files, docs.folder(), {0, 20000, 7000}, false);
    EXPECT_EQ(listed.cells[1 * 7 + 4], u"20 KB");
    EXPECT_EQ(listed.cells[2 * 7 + 4], u"7 KB");
    EXPECT_EQ(asked.cells[1 * 7 + 4], u"5 KB");
    EXPECT_EQ(asked.cells[2 * 7 + 4], u"1 KB");  // gone since the listing: the smallest size
    EXPECT_NE(listed.html.find(u"<td>20 KB</td>"), std::u16string::npos);
    EXPECT_EQ(inPieces.cells, listed.cells);
    EXPECT_EQ(inPieces.rowColours, listed.rowColours);
    EXPECT_TRUE(inPieces.html.empty());
}

TEST_F(FileTable, AnUntickedFileIsLeftOutOfTheTotalAndTheLogAndCannotBeSelected) {
    openFolder({{"a.htm", "a"}, {"b.htm", "aa"}, {"c.htm", "aaa"}});
    tick(2, false);
    EXPECT_FALSE(folder().IsFileChecked(2));
    findAll(u"a");
    EXPECT_EQ(matchesOf(2), "-");
    EXPECT_EQ(text("lblTotal"), "4");
    EXPECT_NE(log().find("4 items found in 2 files."), std::string::npos);
    clickRow(2);
    EXPECT_EQ(folder().selectedRow(), 0);
    EXPECT_EQ(table().rowBackground(kFileTableId, 2), u"rgb(230,230,230)");
    tick(2, true);
    clickRow(2);
    EXPECT_EQ(folder().selectedRow(), 2);
}

TEST_F(FileTable, SelectingARowMarksItYellowAndShowsItsSourceOrItsMatches) {
    openFolder({{"none.htm", "nothing here"}, {"three.htm", "a a a"}});
    clickRow(1);  // before any search: the source only
    EXPECT_EQ(table().rowBackground(kFileTableId, 1), u"yellow");
    EXPECT_EQ(w->document().path, docs.file("none.htm"));
    EXPECT_EQ(text("LblCurName"), u8(docs.file("none.htm")));
    EXPECT_NE(u8(source().bodyText()).find("nothing here"), std::string::npos);

    findAll(u"a");
    clickRow(1);  // the selected row again: nothing happens
    EXPECT_EQ(folder().selectedRow(), 1);
    clickRow(2);
    EXPECT_EQ(table().rowBackground(kFileTableId, 1), u"white");
    EXPECT_EQ(table().rowBackground(kFileTableId, 2), u"yellow");
    EXPECT_EQ(source().markCount(), 3u);
    EXPECT_EQ(matches().entryCount(), 3u);

    clickRow(1);  // count 0: source only, no marks, no list
    EXPECT_EQ(source().markCount(), 0u);
    EXPECT_EQ(matches().entryCount(), 0u);
    EXPECT_EQ(table().rowBackground(kFileTableId, 2), u"rgb(230,230,230)");
}

TEST_F(FileTable, ThreeHundredFilesAreAllSearched) {
    std::vector<std::pair<std::string, std::string>> files;
    for (int i = 0; i < 300; ++i) files.push_back({"f" + std::to_string(1000 + i) + ".htm", "k"});
    openFolder(files);
    tick(300, false);
    findAll(u"k");
    EXPECT_EQ(matchesOf(299), "1");
    EXPECT_EQ(matchesOf(300), "-");
    EXPECT_EQ(text("lblTotal"), "299");
    clickRow(299);
    EXPECT_EQ(folder().selectedRow(), 299);
    EXPECT_EQ(table().rowBackground(kFileTableId, 299), u"yellow");
}

TEST_F(FileTable, ReopeningAFolderRebuildsTheTableWithEveryRowTicked) {
    openFolder({{"a.htm", "a"}, {"b.htm", "b"}});
    tick(1, false);
    w->click("mOpenFolder");
    dlg().click("btnOK");
    settle();
    EXPECT_TRUE(folder().IsFileChecked(1));
    EXPECT_EQ(folder().selectedRow(), 0);
    EXPECT_EQ(text("LblCurName"), "");
}

TEST_F(FileTable, TheLineAboveTheTableNamesFolderTypeAndCountsAndFollowsTheTicks) {
    openFolder({{"a.htm", "x"}, {"b.htm", "x"}, {"c.txt", "x"}});
    EXPECT_NE(u8(table().bodyHtml())
                  .find(u8(docs.folder()) + "   Type: *.htm;*.html   "
                                            "2 files (2 ticked)"),
              std::string::npos);
    tick(1, false);
    tick(1, false);  // the same tick again counts once
    EXPECT_EQ(u8(table().elementHtml(kFolderInfoId)),
              u8(docs.folder()) + "   Type: *.htm;*.html   2 files (1 ticked)");

    w->click("btnOpenFolder");
    dlg().select("filter", kAllFilesFilter);
    dlg().click("btnOK");
    settle();
    EXPECT_NE(u8(table().bodyHtml()).find("Type: All files   3 files (3 ticked)"),
              std::string::npos);
}

TEST_F(FileTable, AFolderOpenedWithoutThePickerSaysWhichTypeListedItsFiles) {
    put("a.htm", "x");
    put("notes.txt", "x");
    w->openRequested(docs.folder());
    settle();
    EXPECT_NE(log().find("Listed the files of type *.htm;*.html"), std::string::npos) << log();
}

TEST_F(FileTable, FilesWithoutADotAreNamedInTheirRowsAndOpenWhenClicked) {
    openFolder({{"Makefile", "all: build\n"}, {"README", "read me\n"}, {"x.txt", "x"}},
               kAllFilesFilter);
    EXPECT_EQ(nameOf(1), "Makefile");
    EXPECT_EQ(nameOf(2), "README");
    clickRow(1);
    EXPECT_EQ(w->document().path, docs.folder() + u"Makefile");
    EXPECT_EQ(u8(w->document().text), "all: build\n");
}

// A file picked in the table is read on the worker: nothing of it shows before the read ends, a
// newer pick wins over one still being read, and Esc goes back to the file still shown.
struct PickedFile : FolderTest {
    void SetUp() override {
        FolderTest::SetUp();
        openFolder({{"a.htm", "alpha a"},
                    {"b.htm", "bravo"},
                    {"c.htm", "charlie a a"},
                    {"d.htm", "echo echo"}});
        findAll(u"a");
        clickRow(1);
        w->setWorkRunner(&jobs);
    }
    // The file the source view shows, its marks and list entries, and the row and name picked.
    void shows(const std::string& body, std::size_t marks, long long row, const std::string& name) {
        EXPECT_EQ(u8(source().bodyText()), body);
        EXPECT_EQ(source().markCount(), marks);
        EXPECT_EQ(matches().entryCount(), marks);
        EXPECT_EQ(folder().selectedRow(), row);
        EXPECT_EQ(text("LblCurName"), u8(docs.file(name)));
        EXPECT_EQ(table().rowBackground(kFileTableId, static_cast<std::size_t>(row)), u"yellow");
    }
    fakes::DeferredWorkRunner jobs;
};

TEST_F(PickedFile, IsShownOnlyOnceReadAndANewerPickWins) {
    clickRow(4);  // no match in it: the text alone
    EXPECT_TRUE(w->working());
    shows("alpha a", 3, 4, "d.htm");  // the row and name follow at once, the text does not
    clickRow(3);
    EXPECT_EQ(u8(w->document().text), "alpha a");
    EXPECT_EQ(table().rowBackground(kFileTableId, 4), u"rgb(230,230,230)");
    jobs.finishAll();
    shows("charlie a a", 3, 3, "c.htm");
    EXPECT_FALSE(w->working());
    EXPECT_EQ(c("pgBarFore").geometry.width, 0);
}

TEST_F(PickedFile, EscGoesBackToTheFileStillShown) {
    clickRow(2);
    clickRow(3);
    w->cancelWork();
    jobs.finishAll();
    shows("alpha a", 3, 1, "a.htm");
    EXPECT_EQ(table().rowBackground(kFileTableId, 3), u"white");
    EXPECT_EQ(text("lblStatus"), "Stopped.");
    clickRow(3);  // the row dropped by Esc can be picked again
    jobs.finishAll();
    shows("charlie a a", 3, 3, "c.htm");
    clickRow(4);
    jobs.finishAll();
    shows("echo echo", 0, 4, "d.htm");
    w->click("btnViewIn");  // read again for the new view though it has nothing to mark
    jobs.finishAll();
    EXPECT_EQ(u8(source().bodyText()), "echo\u00B7echo");
}

}  // namespace
}  // namespace lodestar::testing
