// Folder mode through the desktop window: the picker, the file table's page, ticks from the
// page, Find, Replace, Restore and Action on a worker thread, and a folder opened by typing its
// path; the table's DOM is checked against the form's model after each step.
#include <QAction>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

#include "window_fixture.h"

namespace lodestar::testing {
namespace {

class FolderWindowTest : public StartedSkinTest {
  protected:
    // Picks the documents folder and waits for the table's page to show its rows.
    void openFolderAndTable() {
        openThroughPicker();
        waitForTable(folder().fileList().size() - 1);
    }
    void waitForTable(std::size_t files) {
        settle();
        ASSERT_TRUE(waitUntil([&] {
            return dom(Pane::ListView, QStringLiteral("document.getElementById('infoList') ? "
                                                      "document.getElementById('infoList')"
                                                      ".rows.length : -1"))
                       .toInt() == static_cast<int>(files + 1);
        }));
    }
    // Every cell of the table's page against the form's model (header and tick boxes aside).
    void expectDomMatchesModel() {
        const QStringList cells =
            dom(Pane::ListView,
                QStringLiteral("Array.from(document.getElementById('infoList').rows).map(r => "
                               "Array.from(r.cells).map(c => c.textContent).join('\\u0001'))"
                               ".join('\\u0001')"))
                .toString()
                .split(QChar(1));
        const PaneModel& model = form().pane(Pane::ListView);
        ASSERT_EQ(static_cast<std::size_t>(cells.size()), model.cellCount(kFileTableId));
        for (std::size_t i = kCellsPerRow; i < model.cellCount(kFileTableId); ++i)
            EXPECT_EQ(cells[static_cast<int>(i)], ui::toQ(model.cellText(kFileTableId, i)))
                << "cell " << i;
        const QStringList ticks =
            dom(Pane::ListView, QStringLiteral("Array.from(document.getElementsByName('chk'))"
                                               ".map(b => b.checked ? '1' : '0').join('')"))
                .toString()
                .split(QString(), Qt::SkipEmptyParts);
        for (int row = 1; row <= ticks.size(); ++row)
            EXPECT_EQ(ticks[row - 1] == "1", folder().IsFileChecked(row)) << "tick " << row;
    }
};

TEST_F(FolderWindowTest, SearchUntickReplaceRestoreActionAndTypedPath) {
    docs.put("a.htm", "<p>x1</p><p>x2</p>");
    docs.put("b.htm", "<p>x3</p>");
    docs.put("c.htm", "<p>none</p>");
    docs.put("<img src=x onerror=alert(1)>.htm", "<b>x</b>");
    openFolderAndTable();
    EXPECT_TRUE(form().MultiMode);
    EXPECT_EQ(
        dom(Pane::ListView, QStringLiteral("document.getElementsByTagName('img').length")).toInt(),
        0);
    expectDomMatchesModel();

    typePattern(u"x\\d");
    click("btnFind");
    waitForRun();
    EXPECT_EQ(cell(2, 2), "2");
    EXPECT_EQ(widget<QLabel>("lblTotal")->text(), QStringLiteral("3"));
    EXPECT_FALSE(widget("btnStop")->isVisible());
    expectDomMatchesModel();

    // Untick c.htm in the page; then a click on a.htm's name selects it.
    dom(Pane::ListView, QStringLiteral("document.getElementsByName('chk')[3].click(); 1"));
    ASSERT_TRUE(waitUntil([&] { return !folder().IsFileChecked(4); }));
    dom(Pane::ListView, QStringLiteral("document.querySelector(\"a[href='#2']\").click(); 1"));
    ASSERT_TRUE(waitUntil([&] { return folder().selectedRow() == 2; }));
    EXPECT_EQ(
        dom(Pane::ListView, QStringLiteral("document.getElementById('infoList').rows[2].style."
                                           "backgroundColor"))
            .toString(),
        QStringLiteral("yellow"));

    Seen asked;
    answerMessage(QMessageBox::Ok, &asked);
    typePattern(u"x(\\d)", u"y$1");
    click("btnReplace");
    waitForRun();
    EXPECT_EQ(asked.text, QStringLiteral("All matches in all thses files will be replaced, are "
                                         "you sure?"));
    EXPECT_EQ(docs.bytes("a.htm"), "<p>y1</p><p>y2</p>");
    EXPECT_EQ(docs.bytes("c.htm"), "<p>none</p>");
    EXPECT_EQ(cell(4, 3), "Passed");
    expectDomMatchesModel();
    ASSERT_TRUE(widget("btnRestore")->isEnabled());

    answerMessage(QMessageBox::Ok, &asked);
    click("btnRestore");
    waitForRun();
    EXPECT_TRUE(asked.text.startsWith(QStringLiteral("Restore ") + ui::toQ(docs.folder()) +
                                      QStringLiteral(" to its state before the replace of ")))
        << asked.text.toStdString();
    EXPECT_EQ(docs.bytes("a.htm"), "<p>x1</p><p>x2</p>");
    EXPECT_EQ(cell(2, 2), "");
    expectDomMatchesModel();

    // Action: the command file, then the question naming it and the ticked files.
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
    EXPECT_EQ(cell(3, 3), " Batch Replaced.");
    EXPECT_EQ(docs.bytes("c.htm"), "<p>none</p>") << "the unticked file is left alone";
    EXPECT_EQ(cell(4, 3), "Passed");
    EXPECT_NE(logText().find("* 3 files batch replaced successfully."), std::string::npos);
    expectDomMatchesModel();

    // A folder and a file type typed into the path box.
    namespace fs = std::filesystem;
    fs::create_directory(docs.path() / "notes");
    docs.put("notes/one.txt", "x");
    docs.put("notes/two.txt", "x x");
    typePath(docs.folder() + u"notes/*.txt");
    waitForTable(2);
    EXPECT_EQ(folder().folder(), docs.folder() + u"notes/");
    expectDomMatchesModel();
    typePattern(u"x");
    click("btnFind");
    waitForRun();
    EXPECT_EQ(cell(2, 2), "2");
    expectDomMatchesModel();
}

// The run waits on the worker thread for the read-only question; Stop pressed meanwhile ends it
// after that file, with every file either fully done or untouched.
TEST_F(FolderWindowTest, StopDuringARunLeavesEveryFileDoneOrUntouched) {
    namespace fs = std::filesystem;
    for (const char* name : {"a.htm", "b.htm", "c.htm", "d.htm"}) docs.put(name, "x");
    fs::permissions(docs.path() / "b.htm", fs::perms::owner_write, fs::perm_options::remove);
    openFolderAndTable();
    EXPECT_EQ(window->action("mStop")->shortcut(), QKeySequence(Qt::Key_Escape));
    EXPECT_FALSE(window->action("mStop")->isEnabled());

    bool busyDuringRun = false;
    bool stopShown = false;
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
    answerMessage(QMessageBox::Ok);  // the replace confirmation
    typePattern(u"x", u"y");
    click("btnReplace");
    waitForRun();
    EXPECT_TRUE(busyDuringRun);
    EXPECT_TRUE(stopShown);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(docs.bytes("a.htm"), "y");
    EXPECT_EQ(docs.bytes("b.htm"), "x");
    EXPECT_EQ(docs.bytes("c.htm"), "x");
    EXPECT_EQ(cell(2, 3), " Read only");
    EXPECT_EQ(cell(3, 3), "");
    EXPECT_NE(logText().find("* Stopped: 2 of 4 files done."), std::string::npos);
    EXPECT_TRUE(widget("btnFind")->isEnabled());
    expectDomMatchesModel();
}

// Folder mode after a search, captured from the display for the documentation: runs only when
// LODESTAR_SCREENSHOT names the picture to write and LODESTAR_SCREENSHOT_FOLDER the folder.
TEST_F(FolderWindowTest, Screenshot) {
    const char* picture = std::getenv("LODESTAR_SCREENSHOT");
    const char* site = std::getenv("LODESTAR_SCREENSHOT_FOLDER");
    if (!picture || !site) GTEST_SKIP() << "no screenshot asked for";
    window->move(0, 0);
    window->resize(1280, 800);
    settle();
    typePath(fromUtf8(site));
    waitForTable(folder().fileList().size() - 1);
    dom(Pane::ListView, QStringLiteral("document.getElementsByName('chk')[13].click(); 1"));
    ASSERT_TRUE(waitUntil([&] { return !folder().IsFileChecked(14); }));
    typePattern(u"href=\"http://[^\"]*\"", u"");
    click("btnFind");
    waitForRun();
    dom(Pane::ListView, QStringLiteral("document.querySelector(\"a[href='#9']\").click(); 1"));
    ASSERT_TRUE(waitUntil([&] { return folder().selectedRow() == 9; }));
    settle();
    ASSERT_TRUE(waitUntil([&] { return counter().startsWith(QStringLiteral("1/")); }));
    QTest::qWait(1500);
    ASSERT_TRUE(QGuiApplication::primaryScreen()->grabWindow(0).save(QString::fromUtf8(picture)));
}

}  // namespace
}  // namespace lodestar::testing
