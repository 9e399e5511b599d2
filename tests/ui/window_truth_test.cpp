// The desktop window tells the truth: a save that fails shows a box with the reason and keeps
// the unsaved text, a search that finds nothing leaves no old marks to step through, and the
// source page shows every character of the file as itself.
#include <QPlainTextEdit>
#include <QScrollBar>
#include <filesystem>

#include "window_fixture.h"

namespace lodestar::testing {
namespace {

using TruthTest = StartedSkinTest;

TEST_F(TruthTest, AFailedSaveShowsABoxWithTheReasonAndKeepsTheText) {
    const std::u16string path = docs.put("x.txt", "abc");
    openThroughDialog(path);
    // No backup can be kept (the state folder is a file): the save writes nothing.
    program.put("state-is-a-file", "");
    setenv("XDG_STATE_HOME", (program.path() / "state-is-a-file").c_str(), 1);
    typePattern(u"b", u"B");
    answerMessage(QMessageBox::Ok);
    click("btnReplace");
    ASSERT_TRUE(waitUntil([&] { return window->control("btnSave")->isEnabled(); }));

    // A long history, read from its top: the error entry must still come into view.
    for (int i = 0; i < 60; ++i) window->form().logLine(u"earlier work");
    QScrollBar* bar = widget<QPlainTextEdit>("logger")->verticalScrollBar();
    bar->setValue(0);
    ASSERT_GT(bar->maximum(), 0);

    Seen box;
    answerMessage(QMessageBox::Ok, &box);
    click("btnSave");
    ASSERT_TRUE(waitUntil([&] { return box.shown; })) << "no message box";
    EXPECT_EQ(box.caption, QStringLiteral(" Warning"));
    EXPECT_TRUE(box.text.startsWith(QStringLiteral("Can't save the file.\r\n")))
        << box.text.toStdString();
    EXPECT_GT(box.text.size(), 25) << "the reason is missing";
    EXPECT_EQ(docs.bytes("x.txt"), "abc");
    EXPECT_TRUE(window->control("btnSave")->isEnabled());
    EXPECT_EQ(toUtf8(window->form().document().text), "aBc");
    EXPECT_EQ(widget<QLabel>("lblStatus")->text(), QStringLiteral("Can't save the file."));
    // The log shows the error entry: it is scrolled to its end.
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_TRUE(widget<QPlainTextEdit>("logger")->toPlainText().contains(
        QStringLiteral("Err:Can't save the file.")));
}

TEST_F(TruthTest, ASearchThatFindsNothingClearsTheEarlierResult) {
    openThroughDialog(docs.put("p.htm", "<p>one</p>\r\n<p>two</p>\r\n<p>three</p>\r\n"));
    findByKey(u"<p>");
    EXPECT_EQ(counter(), QStringLiteral("1/3"));
    ASSERT_TRUE(waitUntil([&] { return marksInPage() == 3; }));

    typePattern(u"zzz");
    key(Qt::Key_F3);
    settle();
    EXPECT_EQ(counter(), QStringLiteral("0/0"));
    EXPECT_EQ(widget<QLabel>("lblTotal")->text(), QString());
    EXPECT_FALSE(window->control("btnNext")->isEnabled());
    EXPECT_FALSE(window->control("btnPrev")->isEnabled());
    EXPECT_TRUE(waitUntil([&] { return marksInPage() == 0; })) << marksInPage() << " marks left";
    EXPECT_EQ(dom(Pane::MatchView, QStringLiteral("document.getElementById('mlist').textContent"))
                  .toString(),
              QStringLiteral(" No result found."));
    click("btnNext");  // disabled: nothing happens
    EXPECT_EQ(counter(), QStringLiteral("0/0"));
}

TEST_F(TruthTest, TheSourcePageShowsEveryCharacterAsItself) {
    const std::string text = "p->dot; a&copy b &lt; <i>x</i> [m]y[/m]\r\n";
    openThroughDialog(docs.put("c.txt", text));
    QString shown;
    ASSERT_TRUE(waitUntil([&] {
        shown = dom(Pane::SuperMonitor,
                    QStringLiteral("document.getElementById('code') ? "
                                   "document.getElementById('code').textContent : ''"))
                    .toString();
        return !shown.isEmpty();
    }));
    EXPECT_EQ(shown,
              QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

}  // namespace
}  // namespace lodestar::testing
