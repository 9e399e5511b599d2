// The user's text in the real window: a save that fails shows the reason and keeps the text, Esc
// stops a long search, and closing the window ends the work.
#include <QElapsedTimer>
#include <QScrollBar>

#include "window_fixture.h"

namespace lodestar::testing {
namespace {

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
