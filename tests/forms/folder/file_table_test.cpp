// The file table: its rows and cells, ticks, selecting a file, and the search over the ticked
// files.
#include "forms/folder/folder_fixture.h"

namespace lodestar::testing {
namespace {

using FileTable = FolderTest;

TEST_F(FileTable, NamesAreShownAsWrittenAndLinksStayRowNumbers) {
    openFolder({{"<img src=x onerror=alert(1)>.htm", "a"}, {"&amp;.htm", "b"}});
    const std::string body = u8(table().bodyHtml());
    EXPECT_EQ(body.find("<img"), std::string::npos);
    EXPECT_NE(body.find("<a href='#1'>&amp;amp;.htm</a>"), std::string::npos);
    EXPECT_NE(body.find("<a href='#2'>&lt;img src=x onerror=alert(1)&gt;.htm</a>"),
              std::string::npos);
    EXPECT_EQ(cellOf(2 * 7 + 1), "<img src=x onerror=alert(1)>.htm");
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

}  // namespace
}  // namespace lodestar::testing
