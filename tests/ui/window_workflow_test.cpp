// One file through the desktop window as a user works with mouse and keys, the widgets, the form
// and the pages' DOM checked against each other; failures and long work; the scratch pad.
#include <QAction>
#include <QElapsedTimer>
#include <QScrollBar>
#include <sstream>

#include "ui/scratch_pad.h"
#include "window_fixture.h"

namespace lodestar::testing {
namespace {

// A page with four paragraphs far apart and text that would be script if it were ever spliced
// into script source or parsed as markup.
std::string samplePage() {
    std::ostringstream s;
    s << "<html>\r\n<head><title>Sample</title><script>var s = \"</script>\";</script></head>\r\n"
      << "<body>\r\n<p title=\"x'); alert(1); //\">first</p>\r\n"
      << "<img src=x onerror=\"document.title='pwned'\">\r\n";
    for (int part = 2; part <= 4; ++part) {
        for (int i = 0; i < 60; ++i) s << "<div>filler " << part << "." << i << "</div>\r\n";
        s << "<p>paragraph " << part << "</p>\r\n";
    }
    for (int i = 0; i < 60; ++i) s << "<div>tail " << i << "</div>\r\n";
    s << "</body>\r\n</html>\r\n";
    return s.str();
}

class WorkflowTest : public StartedSkinTest {
  protected:
    void waitForCounter(const QString& text) {
        ASSERT_TRUE(waitUntil([&] { return counter() == text; })) << counter().toStdString();
    }
    QVariant entry(int index, const QString& what) {
        return dom(Pane::MatchView, QStringLiteral("document.getElementById('mlist')"
                                                   ".getElementsByTagName('li')[%1].%2")
                                        .arg(index)
                                        .arg(what));
    }
    // The entry's background in the page against the model's colour for it.
    void expectEntryAsModel(int index) {
        EXPECT_EQ(entry(index, "style.backgroundColor").toString().remove(u' '),
                  ui::toQ(form().pane(Pane::MatchView).entryBackground(index)).remove(u' '))
            << index;
    }
};

TEST_F(WorkflowTest, SearchNavigateReplaceSaveRestoreAndClose) {
    const std::string original = samplePage();
    const std::u16string path = docs.put("sample.html", original);
    openThroughDialog(path);
    EXPECT_EQ(widget<QLabel>("LblCurName")->text(), ui::toQ(path));
    EXPECT_TRUE(window->control("btnFind")->isEnabled());
    EXPECT_TRUE(window->action("mFind")->isEnabled());

    // Typed keys reach the form; F3 searches.
    auto* pattern = widget<QPlainTextEdit>("inRepFrom");
    pattern->setFocus();
    QTest::keyClicks(pattern, "<p[ >]");
    EXPECT_EQ(toUtf8(form().controls()["inRepFrom"].text), "<p[ >]");
    key(Qt::Key_F3);
    settle();
    waitForCounter(QStringLiteral("1/4"));
    EXPECT_EQ(widget<QLabel>("lblTotal")->text(), QStringLiteral("4"));

    // The pages agree with the models.
    ASSERT_TRUE(waitUntil([&] { return entriesInPage() == 4; }));
    EXPECT_EQ(marksInPage(), 4);
    EXPECT_EQ(markBackground(1), QStringLiteral("gold"));
    expectEntryAsModel(0);
    EXPECT_EQ(entry(1, "querySelector('em').textContent").toString(), QStringLiteral("<p>"));

    // Hostile text stays text: nothing ran, and it shows as written.
    const QString shownText = sourceText();
    EXPECT_TRUE(shownText.contains(QStringLiteral("x'); alert(1); //")));
    EXPECT_TRUE(shownText.contains(QStringLiteral("\"</script>\"")));
    EXPECT_TRUE(shownText.contains(QStringLiteral("onerror=\"document.title='pwned'\"")));
    EXPECT_EQ(dom(Pane::SuperMonitor, "document.title").toString(), QStringLiteral("Source"));
    EXPECT_EQ(dom(Pane::SuperMonitor, "document.getElementsByTagName('img').length").toInt(), 0);

    // Next and Previous; the current match stands 20 pixels below the top.
    click("btnNext");
    waitForCounter(QStringLiteral("2/4"));
    ASSERT_TRUE(waitUntil([&] { return markTop(2) == 20; })) << markTop(2);
    EXPECT_EQ(markBackground(1), QString());
    expectEntryAsModel(1);
    expectEntryAsModel(0);
    click("btnPrev");
    waitForCounter(QStringLiteral("1/4"));

    // A click on the third list entry moves to match 3.
    const QVariantList r = dom(Pane::MatchView,
                               "var r = document.getElementById('mlist')"
                               ".getElementsByTagName('li')[2]"
                               ".getBoundingClientRect(); "
                               "[r.left, r.top, r.width, r.height]")
                               .toList();
    ASSERT_EQ(r.size(), 4);
    const QRect box(r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toInt());
    ASSERT_TRUE(waitUntil([&] {
        return view(Pane::MatchView)->evaluate("!!window.lodestarBridge", 5000, true).toBool();
    }));
    QTest::mouseClick(view(Pane::MatchView)->focusProxy(), Qt::LeftButton, {},
                      box.center() + QPoint(-box.width() / 4, 0));
    waitForCounter(QStringLiteral("3/4"));
    ASSERT_TRUE(waitUntil([&] { return markTop(3) == 20; })) << markTop(3);
    expectEntryAsModel(2);

    // Replace after confirming (Enter chooses OK); nothing is written before Save.
    auto* replacement = widget<QPlainTextEdit>("inRepWith");
    replacement->setFocus();
    QTest::keyClicks(replacement, "<q ");
    Seen asked;
    answerMessageByKey(Qt::Key_Return, &asked);
    click("btnReplace");
    ASSERT_TRUE(waitUntil([&] { return asked.shown; }));
    ASSERT_TRUE(waitUntil([&] { return window->control("btnSave")->isEnabled(); }));
    EXPECT_TRUE(window->action("mSave")->isEnabled());
    settle();
    EXPECT_TRUE(sourceText().contains(QStringLiteral("<q paragraph 2</p>")));
    EXPECT_EQ(docs.bytes("sample.html"), original);
    saveByKey();
    EXPECT_NE(docs.bytes("sample.html").find("<q paragraph 3</p>"), std::string::npos);

    // Closing with nothing unsaved asks nothing.
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(form().closed());
}

TEST_F(WorkflowTest, ClosingWithUnsavedChangesAsksAndEscapeKeepsTheWindow) {
    openThroughDialog(docs.put("a.txt", "one two one\r\n"));
    replaceAll(u"one", u"1");
    ASSERT_TRUE(waitUntil([&] { return window->control("btnSave")->isEnabled(); }));

    Seen asked;
    answerMessageByKey(Qt::Key_Escape, &asked);
    window->close();
    EXPECT_EQ(asked.text, QStringLiteral("File not saved, save it before exit?"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(form().closed());

    answerMessage(QMessageBox::Discard);
    window->action("mExit")->trigger();
    ASSERT_TRUE(waitUntil([&] { return !window->isVisible(); }));
    EXPECT_TRUE(form().closed());
}

// The status bar names the encoding, and accented letters typed into the pattern box find
// their matches in a UTF-8 page, ignoring case.
TEST_F(WorkflowTest, AccentedLettersTypedFindTheirMatchesInAUtf8Page) {
    openThroughDialog(docs.put("page.htm",
                               "<p>Un caf\xC3\xA9, deux caf\xC3\xA9s, CAF\xC3\x89 "
                               "\xE4\xB8\xAD\xE6\x96\x87</p>\r\n"));
    ASSERT_NE(widget<QLabel>("lblEncoding"), nullptr);
    EXPECT_EQ(widget<QLabel>("lblEncoding")->text(), QStringLiteral("UTF-8"));
    auto* pattern = widget<QPlainTextEdit>("inRepFrom");
    pattern->setFocus();
    for (QChar c : QStringLiteral("caf\u00E9"))
        QTest::sendKeyEvent(QTest::Click, pattern, Qt::Key_unknown, QString(c), {});
    key(Qt::Key_F3);
    settle();
    ASSERT_TRUE(waitUntil([&] { return counter() == "1/3"; })) << logText();
    EXPECT_TRUE(sourceText().contains(QStringLiteral("CAF\u00C9 \u4E2D\u6587")));
}

// A search that finds nothing leaves no old marks to step through; the source page shows every
// character of the file as itself.
TEST_F(WorkflowTest, ASearchThatFindsNothingClearsTheEarlierResult) {
    const std::string text = "<p>one</p> p->dot; a&copy b &lt; <i>x</i> [m]y[/m]\r\n<p>two</p>\r\n";
    openThroughDialog(docs.put("p.htm", text));
    ASSERT_TRUE(waitUntil([&] {
        return dom(Pane::SuperMonitor,
                   "document.getElementById('code') ? "
                   "document.getElementById('code').textContent : ''")
                   .toString() == QString::fromStdString(text).replace("\r\n", "\n");
    }));
    findByKey(u"<p>");
    ASSERT_TRUE(waitUntil([&] { return marksInPage() == 2; }));

    typePattern(u"zzz");
    key(Qt::Key_F3);
    settle();
    EXPECT_EQ(counter(), QStringLiteral("0/0"));
    EXPECT_TRUE(waitUntil([&] { return marksInPage() == 0; })) << marksInPage() << " marks left";
    EXPECT_EQ(dom(Pane::MatchView, "document.getElementById('mlist').textContent").toString(),
              QStringLiteral(" No result found."));
    click("btnNext");  // disabled: nothing happens
    EXPECT_EQ(counter(), QStringLiteral("0/0"));
}

// The scratch pad of Instant Test marks matches while a pattern is typed.
using ScratchWindowTest = StartedSkinTest;

TEST_F(ScratchWindowTest, TheScratchPadMarksMatchesWhileAPatternIsTyped) {
    window->action("mClose")->trigger();
    ui::ScratchPad* pad = window->scratchPad();
    ASSERT_NE(pad, nullptr);
    ASSERT_TRUE(waitUntil([&] { return pad->isVisible(); }));
    pad->editor()->setPlainText(QStringLiteral("cat hat cap\ncot cut"));
    auto* box = widget<QPlainTextEdit>("inRepFrom");
    box->setFocus();
    box->clear();
    // Typed a key at a time: after each pause the marks follow the pattern as it stands.
    for (const auto& [keys, marks] : {std::pair{"c", 4}, {"a", 2}, {"t", 1}}) {
        QTest::keyClicks(box, QString::fromLatin1(keys));
        ASSERT_TRUE(waitUntil([&] { return pad->markCount() == marks; }))
            << box->toPlainText().toStdString() << ": " << pad->markCount() << " marks";
    }
    // An invalid pattern is marked in the pattern box, with the reason as its tip.
    QTest::keyClicks(box, QStringLiteral("("));
    ASSERT_TRUE(waitUntil([&] { return box->extraSelections().size() == 1; }));
    EXPECT_EQ(pad->markCount(), 0);
    EXPECT_FALSE(box->toolTip().isEmpty());
    QTest::keyClick(box, Qt::Key_Backspace);
    ASSERT_TRUE(waitUntil([&] { return box->extraSelections().isEmpty(); }));
    EXPECT_EQ(pad->markCount(), 1);
    // Typing into the text moves the marks too, and a replacement shows its result.
    pad->editor()->moveCursor(QTextCursor::End);
    QTest::keyClicks(pad->editor(), QStringLiteral(" cat"));
    ASSERT_TRUE(waitUntil([&] { return pad->markCount() == 2; }));
    widget<QPlainTextEdit>("inRepWith")->setPlainText(QStringLiteral("dog"));
    ASSERT_TRUE(waitUntil([&] { return pad->result()->isVisible(); }));
    ASSERT_TRUE(waitUntil([&] {
        return pad->result()->toPlainText() == QStringLiteral("dog hat cap\ncot cut dog");
    })) << pad->result()->toPlainText().toStdString();

    if (const char* target = std::getenv("LODESTAR_DIALOG_SCREENSHOTS")) {
        window->move(0, 0);
        pad->editor()->setPlainText(QStringLiteral(
            "Order 1042 shipped 2024-03-18 to anna.berg@example.org (total: 58.90 EUR)\n"
            "Order 1043 shipped 2024-03-21 to j.ortiz@example.com  (total: 7.25 EUR)\n"
            "Order 1044 shipped 2024-04-02 to lee@example.net (total: 112.00 EUR)\n"));
        typePattern(u"(\\d{4})-(\\d\\d)-(\\d\\d)", u"$3.$2.$1");
        ASSERT_TRUE(waitUntil([&] { return pad->markCount() == 3; }));
        capture(QString::fromUtf8(target), "screenshot-scratch.png");
        typePattern(u"[\\w.]+@(\\w+\\.");
        ASSERT_TRUE(waitUntil([&] { return box->extraSelections().size() == 1; }));
        capture(QString::fromUtf8(target), "screenshot-scratch-invalid.png");
    }
}

// The user's text in the real window: a save that fails shows the reason and keeps the text, Esc
// stops a long search, and closing the window ends the work.
class UsersTextWindowTest : public StartedSkinTest {
  protected:
    // Finds every "a" in a text long enough that it takes a while.
    void startLongSearch() {
        std::string text;
        text.reserve(40'000'000);
        while (text.size() < 40'000'000) text += std::string(99, 'a') + '\n';
        Options options = form().currentOptions();
        options.backupOnReplace = false;
        form().applyOptions(options);
        answerMessage(QMessageBox::Ok);  // the large-file question, where it is asked
        typePath(docs.put("long.txt", text));
        typePattern(u"a");
        key(Qt::Key_F3);
        ASSERT_TRUE(waitUntil([&] { return form().working(); }));
    }
};

TEST_F(UsersTextWindowTest, AFailedSaveShowsABoxWithTheReasonAndKeepsTheText) {
    openThroughDialog(docs.put("x.txt", "aaa"));
    // No backup can be kept (the state folder is a file): the save writes nothing.
    program.put("state-is-a-file", "");
    setenv("XDG_STATE_HOME", (program.path() / "state-is-a-file").c_str(), 1);
    replaceAll(u"a", u"b");
    ASSERT_TRUE(waitUntil([&] { return form().controls()["btnSave"].enabled; }));
    // A long history, read from its top: the error entry must still come into view.
    for (int i = 0; i < 60; ++i) form().logLine(u"earlier work");
    QScrollBar* bar = widget<QPlainTextEdit>("logger")->verticalScrollBar();
    bar->setValue(0);
    ASSERT_GT(bar->maximum(), 0);

    Seen box;
    answerMessage(QMessageBox::Ok, &box);
    click("btnSave");
    ASSERT_TRUE(waitUntil([&] { return box.shown; })) << "no message box";
    EXPECT_TRUE(box.text.startsWith(QStringLiteral("Can't save the file.\r\n")));
    EXPECT_EQ(docs.bytes("x.txt"), "aaa");
    EXPECT_TRUE(window->control("btnSave")->isEnabled());
    EXPECT_EQ(bar->value(), bar->maximum());
}

TEST_F(UsersTextWindowTest, EscStopsALongSearchAndTheWindowGoesOn) {
    startLongSearch();
    EXPECT_TRUE(window->control("btnStop")->isVisible());
    key(Qt::Key_Escape);
    EXPECT_TRUE(waitUntil([&] { return !form().working(); }, 2000));
    EXPECT_EQ(toUtf8(form().controls()["lblStatus"].text), "Stopped.");
    EXPECT_EQ(logText().find("items found"), std::string::npos);
    // A new Find goes at once.
    typePattern(u"^b");
    key(Qt::Key_F3);
    settle();
    EXPECT_NE(logText().find("0 item found!"), std::string::npos);
}

TEST_F(UsersTextWindowTest, ClosingTheWindowDuringASearchEndsTheWork) {
    startLongSearch();
    window->close();
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(window->endWork(2000));
    EXPECT_LT(clock.elapsed(), 2000);
}

}  // namespace
}  // namespace lodestar::testing
