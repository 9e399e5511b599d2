// Folder mode over a tree through the desktop window: "Include subfolders" and "Exclude" in the
// picker, the table naming relative paths, Find, Replace and Restore; and a long table that the
// page shows a piece at a time while ticks and results still reach every row.
#include <filesystem>

#include "window_fixture.h"

namespace lodestar::testing {
namespace {

namespace fs = std::filesystem;

class TreeWindowTest : public StartedSkinTest {
  protected:
    // Opens the documents folder's tree with "Include subfolders" and these exclusions.
    void openTree(const QString& exclude, std::size_t files) {
        openThroughPicker(true, exclude);
        EXPECT_EQ(folder().fileList().size(), files + 1);
    }
    QString page(const QString& script) { return dom(Pane::ListView, script).toString(); }
};

TEST_F(TreeWindowTest, SearchReplaceAndRestoreATreeWithExclusions) {
    fs::create_directories(docs.path() / "sub/deeper");
    fs::create_directories(docs.path() / "skip");
    fs::create_directories(docs.path() / ".hidden");
    docs.put("a.htm", "<p>x1</p>");
    docs.put("sub/b <&>.htm", "<p>x2 x3</p>");
    docs.put("sub/deeper/c.htm", "<p>x4</p>");
    docs.put("skip/s.htm", "<p>x5</p>");
    docs.put(".hidden/h.htm", "<p>x6</p>");
    fs::create_symlink("..", docs.path() / "sub/loop");
    openTree(QStringLiteral("skip"), 3);
    ASSERT_TRUE(waitUntil([&] {
        return page(QStringLiteral("Array.from(document.querySelectorAll('#infoList a'))"
                                   ".map(a => a.textContent).join('|')")) ==
               QStringLiteral("a.htm|sub/b <&>.htm|sub/deeper/c.htm");
    }));

    typePattern(u"x(\\d)");
    click("btnFind");
    waitForRun();
    EXPECT_EQ(cell(2, 2), "2");
    EXPECT_EQ(widget<QLabel>("lblTotal")->text(), QStringLiteral("4"));

    answerMessage(QMessageBox::Ok);
    typePattern(u"x(\\d)", u"y$1");
    click("btnReplace");
    waitForRun();
    EXPECT_EQ(docs.bytes("sub/deeper/c.htm"), "<p>y4</p>");
    EXPECT_EQ(docs.bytes("bak/sub/b <&>.htm"), "<p>x2 x3</p>");
    EXPECT_EQ(docs.bytes("skip/s.htm"), "<p>x5</p>");
    ASSERT_TRUE(widget("btnRestore")->isEnabled());

    answerMessage(QMessageBox::Ok);
    click("btnRestore");
    waitForRun();
    EXPECT_EQ(docs.bytes("a.htm"), "<p>x1</p>");
    EXPECT_EQ(docs.bytes("sub/b <&>.htm"), "<p>x2 x3</p>");
    EXPECT_EQ(docs.bytes("sub/deeper/c.htm"), "<p>x4</p>");
    EXPECT_FALSE(fs::exists(docs.path() / "bak"));
    EXPECT_NE(logText().find("Files restored successfully."), std::string::npos);
}

TEST_F(TreeWindowTest, ALongTableRendersOnlyWhatIsSeenAndKeepsEveryRowReachable) {
    const std::size_t n = 2100;
    for (const char* sub : {"d0", "d1", "d2"}) fs::create_directories(docs.path() / sub);
    for (std::size_t i = 0; i < n; ++i)
        docs.put("d" + std::to_string(i % 3) + "/f" + std::to_string(10000 + i) + ".htm", "x");
    openTree(QString(), n);
    const QString rows = QStringLiteral("document.querySelectorAll('#infoList tr').length");
    ASSERT_TRUE(waitUntil([&] { return page(rows).toInt() > 0; }));
    EXPECT_LT(page(rows).toInt(), 1000);  // a few pieces, not the 2,100 rows

    // A tick in a piece reaches its row; after a search the last row, scrolled to, shows its
    // count.
    page(QStringLiteral("document.querySelector('tr[data-k=\"2\"] input').click(); ''"));
    ASSERT_TRUE(waitUntil([&] { return !folder().IsFileChecked(2); }));
    typePattern(u"x");
    click("btnFind");
    waitForRun();
    EXPECT_EQ(cell(n, 2), "1");
    EXPECT_EQ(cell(2, 2), "-");
    // A row on screen shows its count, and its colour once selected.
    const QString row3 = QStringLiteral(
        "(function () { var r = document.querySelector('tr[data-k=\"3\"]');"
        " return r ? r.cells[2].textContent + ' ' + r.style.backgroundColor : ''; })()");
    folder().selectFileRow(u"list.tmp#3");
    EXPECT_TRUE(waitUntil([&] { return page(row3) == QStringLiteral("1 yellow"); }))
        << page(row3).toStdString();
    page(QStringLiteral("window.scrollTo(0, document.body.scrollHeight); ''"));
    const QString last = QStringLiteral(
                             "(function () { var r = document.querySelector("
                             "'tr[data-k=\"%1\"]'); return r ? r.cells[2].textContent "
                             ": ''; })()")
                             .arg(n);
    ASSERT_TRUE(waitUntil([&] { return page(last) == QStringLiteral("1"); }));
    EXPECT_LT(page(rows).toInt(), 1000);
}

}  // namespace
}  // namespace lodestar::testing
