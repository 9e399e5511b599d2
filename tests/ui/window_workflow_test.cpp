// The single-file workflow through the desktop window, as a user does it with mouse and keys,
// checking the widgets, the form and the pages' DOM against each other.
#include <QPlainTextEdit>
#include <sstream>

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
    // Waits for the one-shot timer's move to the first match.
    void waitForCounter(const QString& text) {
        ASSERT_TRUE(waitUntil([&] { return counter() == text; })) << counter().toStdString();
    }
    int emTop(int index) {
        return dom(Pane::SuperMonitor,
                   QStringLiteral("Math.round(document.getElementsByTagName('em')[%1]"
                                  ".getBoundingClientRect().top)")
                       .arg(index))
            .toInt();
    }
    QString emBackground(int index) {
        return dom(Pane::SuperMonitor,
                   QStringLiteral("document.getElementsByTagName('em')[%1].style.backgroundColor")
                       .arg(index))
            .toString();
    }
    QString entryBackground(int index) {
        return dom(Pane::MatchView,
                   QStringLiteral("document.getElementById('mlist')"
                                  ".getElementsByTagName('li')[%1].style.backgroundColor")
                       .arg(index))
            .toString()
            .remove(u' ');
    }
    // The model's colours, in the form the page reports them.
    QString modelEntry(int index) {
        return ui::toQ(window->form().pane(Pane::MatchView).entryBackground(index)).remove(u' ');
    }
};

TEST_F(WorkflowTest, SearchNavigateReplaceSaveRestoreAndClose) {
    const std::string original = samplePage();
    const std::u16string path = docs.put("sample.html", original);

    // Open through the open-file button and its dialog.
    openThroughDialog(path);
    EXPECT_EQ(widget<QLabel>("LblCurName")->text(), ui::toQ(path));
    EXPECT_TRUE(window->control("btnFind")->isEnabled());
    EXPECT_TRUE(window->action("mFind")->isEnabled());
    EXPECT_NE(logText().find("* Open file "), std::string::npos) << logText();

    // Type a pattern and press F3.
    auto* pattern = widget<QPlainTextEdit>("inRepFrom");
    pattern->setFocus();
    QTest::keyClicks(pattern, "<p[ >]");
    EXPECT_EQ(toUtf8(window->form().controls()["inRepFrom"].text), "<p[ >]");
    key(Qt::Key_F3);
    settle();
    waitForCounter(QStringLiteral("1/4"));
    EXPECT_NE(logText().find("* Search <p[ >]\r\n4 items found."), std::string::npos) << logText();
    EXPECT_EQ(widget<QLabel>("lblTotal")->text(), QStringLiteral("4"));

    // The pages agree with the models.
    const PaneModel& source = window->form().pane(Pane::SuperMonitor);
    const PaneModel& list = window->form().pane(Pane::MatchView);
    ASSERT_TRUE(waitUntil([&] { return entriesInPage() == 4; }))
        << view(Pane::MatchView)->url().toString().toStdString();
    EXPECT_EQ(list.entryCount(), 4u);
    EXPECT_EQ(marksInPage(), 4);
    EXPECT_EQ(source.markCount(), 4u);
    EXPECT_EQ(emBackground(0), QStringLiteral("gold"));
    EXPECT_EQ(ui::toQ(source.markBackground(0)), QStringLiteral("gold"));
    EXPECT_EQ(entryBackground(0), modelEntry(0));
    EXPECT_EQ(dom(Pane::MatchView, QStringLiteral("document.getElementById('mlist')"
                                                  ".getElementsByTagName('li')[1].textContent"))
                  .toString(),
              QStringLiteral("<p>"));

    // Hostile text stays text: nothing ran, and it shows as written.
    const QString shownText =
        dom(Pane::SuperMonitor, QStringLiteral("document.body.innerText")).toString();
    EXPECT_TRUE(shownText.contains(QStringLiteral("x'); alert(1); //")))
        << shownText.left(300).toStdString();
    EXPECT_TRUE(shownText.contains(QStringLiteral("\"</script>\"")));
    EXPECT_TRUE(shownText.contains(QStringLiteral("onerror=\"document.title='pwned'\"")));
    EXPECT_EQ(dom(Pane::SuperMonitor, QStringLiteral("document.title")).toString(),
              QStringLiteral("Source"));
    EXPECT_EQ(dom(Pane::SuperMonitor, QStringLiteral("document.getElementsByTagName('img').length"))
                  .toInt(),
              0);

    // Next and Previous.
    click("btnNext");
    waitForCounter(QStringLiteral("2/4"));
    ASSERT_TRUE(waitUntil([&] { return emBackground(1) == QStringLiteral("gold"); }));
    EXPECT_EQ(emBackground(0), QString());
    EXPECT_EQ(emTop(1), 20) << "the current match stands 20 pixels below the top";
    EXPECT_EQ(entryBackground(1), modelEntry(1));
    EXPECT_EQ(entryBackground(0), modelEntry(0));
    click("btnPrev");
    waitForCounter(QStringLiteral("1/4"));

    // A click on the third list entry moves to match 3.
    const QRect entry = [&] {
        const QVariantList r =
            dom(Pane::MatchView,
                QStringLiteral("var r = document.getElementById('mlist').getElementsByTagName("
                               "'li')[2].getBoundingClientRect(); [r.left, r.top, r.width, "
                               "r.height]"))
                .toList();
        return r.size() == 4 ? QRect(r[0].toInt(), r[1].toInt(), r[2].toInt(), r[3].toInt())
                             : QRect();
    }();
    ASSERT_FALSE(entry.isEmpty());
    ASSERT_TRUE(waitUntil([&] {
        return view(Pane::MatchView)
            ->evaluate(QStringLiteral("!!window.lodestarBridge"), 5000, true)
            .toBool();
    }));
    QTest::mouseClick(view(Pane::MatchView)->focusProxy(), Qt::LeftButton, {},
                      entry.center() + QPoint(-entry.width() / 4, 0));
    waitForCounter(QStringLiteral("3/4"));
    ASSERT_TRUE(waitUntil([&] { return emBackground(2) == QStringLiteral("gold"); }));
    EXPECT_EQ(entryBackground(2), modelEntry(2));
    EXPECT_EQ(emTop(2), 20);

    // Replace after confirming (Enter chooses OK), then save.
    auto* replacement = widget<QPlainTextEdit>("inRepWith");
    replacement->setFocus();
    QTest::keyClicks(replacement, "<q ");
    Seen asked;
    answerMessageByKey(Qt::Key_Return, &asked);
    click("btnReplace");
    ASSERT_TRUE(waitUntil([&] { return asked.shown; }));
    EXPECT_EQ(asked.caption, QStringLiteral(" Please confirm"));
    EXPECT_EQ(asked.text, QStringLiteral("All matches will be replaced, are you sure?"));
    ASSERT_TRUE(waitUntil([&] { return window->control("btnSave")->isEnabled(); }));
    EXPECT_TRUE(window->action("mSave")->isEnabled());
    settle();
    EXPECT_TRUE(dom(Pane::SuperMonitor, QStringLiteral("document.body.innerText"))
                    .toString()
                    .contains(QStringLiteral("<q paragraph 2</p>")));
    EXPECT_EQ(docs.bytes("sample.html"), original) << "nothing is written before Save";

    key(Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(waitUntil([&] { return !window->control("btnSave")->isEnabled(); }));
    const std::string saved = docs.bytes("sample.html");
    EXPECT_EQ(saved.find("<p>"), std::string::npos);
    EXPECT_NE(saved.find("<q paragraph 3</p>"), std::string::npos);

    // Restore asks, then puts the old text back.
    ASSERT_TRUE(window->control("btnRestore")->isEnabled());
    Seen restore;
    answerMessage(QMessageBox::Ok, &restore);
    key(Qt::Key_F8, Qt::NoModifier);
    ASSERT_TRUE(waitUntil([&] { return restore.shown; }));
    EXPECT_TRUE(restore.text.startsWith(
        QStringLiteral("Restore sample.html to its state before the save of")))
        << restore.text.toStdString();
    ASSERT_TRUE(waitUntil([&] { return docs.bytes("sample.html") == original; }));

    // Closing with nothing unsaved asks nothing.
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->form().closed());
}

TEST_F(WorkflowTest, ClosingWithUnsavedChangesAsksAndEscapeKeepsTheWindow) {
    openThroughDialog(docs.put("a.txt", "one two one\r\n"));
    typePattern(u"one", u"1");
    answerMessage(QMessageBox::Ok);
    click("btnReplace");
    ASSERT_TRUE(waitUntil([&] { return window->control("btnSave")->isEnabled(); }));

    Seen asked;
    answerMessageByKey(Qt::Key_Escape, &asked);
    window->close();
    EXPECT_TRUE(asked.shown);
    EXPECT_EQ(asked.text, QStringLiteral("File not saved, save it before exit?"));
    EXPECT_EQ(asked.caption, QStringLiteral(" Please confirm"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->form().closed());

    answerMessage(QMessageBox::Discard);
    window->action("mExit")->trigger();
    ASSERT_TRUE(waitUntil([&] { return !window->isVisible(); }));
    EXPECT_TRUE(window->form().closed());
}

}  // namespace
}  // namespace lodestar::testing
