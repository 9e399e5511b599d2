// Folder mode through the desktop window: the picker, the file table's page checked against
// the form's model after each step, ticks and selections from the page, Find, Replace, Restore
// and Action on a worker thread, Stop during a run, a tree with exclusions, a long table shown a
// piece at a time, the user's own bak/ folder and a folder another run holds.
#include <QAction>

#include "backups/folder_lock.h"
#include "window_fixture.h"

namespace lodestar::testing {
namespace {

namespace fs = std::filesystem;

class FolderWindowTest : public StartedSkinTest {
  protected:
    QVariant table(const QString& script) { return dom(Pane::ListView, script); }
    // Waits for the table's page to show a row for each file.
    void waitForTable(std::size_t files) {
        settle();
        ASSERT_TRUE(waitUntil([&] {
            return table(
                       "document.getElementById('infoList') ? "
                       "document.getElementById('infoList').rows.length : -1")
                       .toInt() == static_cast<int>(files + 1);
        }));
    }
    // Every cell of the table's page against the form's model (header and tick boxes aside).
    void expectDomMatchesModel() {
        const QStringList cells =
            table(
                "Array.from(document.getElementById('infoList').rows).map(r => "
                "Array.from(r.cells).map(c => c.textContent).join('\\u0001')).join('\\u0001')")
                .toString()
                .split(QChar(1));
        const PaneModel& model = form().pane(Pane::ListView);
        ASSERT_EQ(static_cast<std::size_t>(cells.size()), model.cellCount(kFileTableId));
        for (std::size_t i = kCellsPerRow; i < model.cellCount(kFileTableId); ++i)
            EXPECT_EQ(cells[static_cast<int>(i)], ui::toQ(model.cellText(kFileTableId, i)))
                << "cell " << i;
        const QString ticks = table(
                                  "Array.from(document.getElementsByName('chk'))"
                                  ".map(b => b.checked ? '1' : '0').join('')")
                                  .toString();
        for (int row = 1; row <= ticks.size(); ++row)
            EXPECT_EQ(ticks[row - 1] == u'1', folder().IsFileChecked(row)) << "tick " << row;
    }
};

TEST_F(FolderWindowTest, SearchUntickReplaceRestoreAndAction) {
    docs.put("a.htm", "<p>x1</p><p>x2</p>");
    docs.put("b.htm", "<p>x3</p>");
    docs.put("c.htm", "<p>none</p>");
    docs.put("<img src=x onerror=alert(1)>.htm", "<b>x</b>");
    docs.put("bak/a.htm", "mine");  // the user's own, never a backup
    openThroughPicker();
    waitForTable(4);
    EXPECT_EQ(table("document.getElementsByTagName('img').length").toInt(), 0);
    expectDomMatchesModel();

    typePattern(u"x\\d");
    click("btnFind");
    waitForRun();
    EXPECT_EQ(cell(2, 2), "2");
    EXPECT_EQ(widget<QLabel>("lblTotal")->text(), QStringLiteral("3"));
    EXPECT_FALSE(widget("btnStop")->isVisible());
    expectDomMatchesModel();

    // Untick c.htm in the page; then a click on a.htm's name selects it.
    table("document.getElementsByName('chk')[3].click(); 1");
    ASSERT_TRUE(waitUntil([&] { return !folder().IsFileChecked(4); }));
    table("document.querySelector(\"a[href='#2']\").click(); 1");
    ASSERT_TRUE(waitUntil([&] { return folder().selectedRow() == 2; }));
    EXPECT_EQ(table("document.getElementById('infoList').rows[2].style.backgroundColor").toString(),
              QStringLiteral("yellow"));

    replaceAll(u"x(\\d)", u"y$1");
    waitForRun();
    EXPECT_EQ(docs.bytes("a.htm"), "<p>y1</p><p>y2</p>");
    EXPECT_EQ(docs.bytes("c.htm"), "<p>none</p>");
    EXPECT_EQ(docs.bytes("bak-2/a.htm"), "<p>x1</p><p>x2</p>") << logText();
    expectDomMatchesModel();
    ASSERT_TRUE(widget("btnRestore")->isEnabled());
    restoreByKey();
    waitForRun();
    EXPECT_EQ(docs.bytes("a.htm"), "<p>x1</p><p>x2</p>");
    EXPECT_EQ(docs.bytes("bak/a.htm"), "mine");
    expectDomMatchesModel();

    // Action: the command file from its dialog, then the question naming it.
    const std::u16string rep = docs.put("cmds.rep", "rep ---<p>--- with ---<div>---;\r\n");
    Seen run;
    onNextDialog([this, rep, &run](QWidget* w) {
        auto* dialog = qobject_cast<QFileDialog*>(w);
        if (!dialog) return;
        answerMessage(QMessageBox::Ok, &run);
        acceptFileDialog(dialog, ui::toQ(rep));
    });
    click("btnAction");
    waitForRun();
    EXPECT_EQ(run.text, QStringLiteral("Run cmds.rep on 3 ticked files?"));
    EXPECT_EQ(docs.bytes("b.htm"), "<div>x3</p>") << logText();
    EXPECT_EQ(docs.bytes("c.htm"), "<p>none</p>") << "the unticked file is left alone";
    expectDomMatchesModel();
}

// The run waits on the worker thread for the read-only question; Stop pressed meanwhile ends it
// after that file, with every file either fully done or untouched. A folder another run holds
// is refused.
TEST_F(FolderWindowTest, StopDuringARunLeavesEveryFileDoneOrUntouched) {
    for (const char* name : {"a.htm", "b.htm", "c.htm", "d.htm"}) docs.put(name, "x");
    fs::permissions(docs.path() / "b.htm", fs::perms::owner_write, fs::perm_options::remove);
    openThroughPicker();
    waitForTable(4);
    EXPECT_FALSE(window->action("mStop")->isEnabled());

    bool busyDuringRun = false, stopShown = false;
    // The question box runs its own event loop: it is answered from a timer inside that loop.
    auto* poll = new QTimer(window.get());
    QObject::connect(poll, &QTimer::timeout, poll, [&, poll] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || !box->text().startsWith(QStringLiteral("Read-only")))
            return;
        poll->stop();
        poll->deleteLater();
        busyDuringRun = QApplication::overrideCursor() &&
                        QApplication::overrideCursor()->shape() == Qt::BusyCursor;
        stopShown = widget("btnStop")->isVisible() && !widget("btnFind")->isEnabled();
        window->action("mStop")->trigger();
        box->button(QMessageBox::Cancel)->click();
    });
    poll->start(20);
    replaceAll(u"x", u"y");
    waitForRun();
    EXPECT_TRUE(busyDuringRun);
    EXPECT_TRUE(stopShown);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(docs.bytes("a.htm"), "y");
    EXPECT_EQ(docs.bytes("b.htm"), "x");
    EXPECT_EQ(docs.bytes("c.htm"), "x");
    EXPECT_NE(logText().find("* Stopped: 2 of 4 files done."), std::string::npos);
    EXPECT_TRUE(widget("btnFind")->isEnabled());
    expectDomMatchesModel();

    // A folder another run holds is refused and left as it was.
    FolderLock other(docs.folder());  // the command line, working in the same folder
    ASSERT_TRUE(other.held());
    replaceAll(u"x", u"z");
    waitForRun();
    EXPECT_EQ(docs.bytes("c.htm"), "x");
    EXPECT_NE(logText().find("Another run or restore is working in this folder."),
              std::string::npos);
}

// The page holds a few pieces of a long table while ticks and results still reach every row.
TEST_F(FolderWindowTest, ALongTableRendersOnlyWhatIsSeenAndKeepsEveryRowReachable) {
    const std::size_t n = 2100;
    for (const char* sub : {"d0", "d1", "d2"}) fs::create_directories(docs.path() / sub);
    for (std::size_t i = 0; i < n; ++i)
        docs.put("d" + std::to_string(i % 3) + "/f" + std::to_string(10000 + i) + ".htm", "x");
    openThroughPicker(true);
    const QString rows = QStringLiteral("document.querySelectorAll('#infoList tr').length");
    ASSERT_TRUE(waitUntil([&] { return table(rows).toInt() > 0; }));
    EXPECT_LT(table(rows).toInt(), 1000);

    table("document.querySelector('tr[data-k=\"2\"] input').click(); ''");
    ASSERT_TRUE(waitUntil([&] { return !folder().IsFileChecked(2); }));
    typePattern(u"x");
    click("btnFind");
    waitForRun();
    EXPECT_EQ(cell(n, 2), "1");
    EXPECT_EQ(cell(2, 2), "-");
    // A row on screen shows its count and its colour once selected; the last row, scrolled
    // to, shows its count.
    auto row = [&](std::size_t k) {
        return table(QStringLiteral("(function () { var r = document.querySelector("
                                    "'tr[data-k=\"%1\"]'); return r ? r.cells[2].textContent + "
                                    "' ' + r.style.backgroundColor : ''; })()")
                         .arg(k))
            .toString();
    };
    folder().selectFileRow(u"list.tmp#3");
    EXPECT_TRUE(waitUntil([&] { return row(3) == QStringLiteral("1 yellow"); }))
        << row(3).toStdString();
    table("window.scrollTo(0, document.body.scrollHeight); ''");
    ASSERT_TRUE(waitUntil([&] { return row(n).startsWith(QStringLiteral("1 ")); }))
        << row(n).toStdString();
    EXPECT_LT(table(rows).toInt(), 1000);
}

}  // namespace
}  // namespace lodestar::testing
