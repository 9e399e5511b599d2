// The user's text in the real window: a save that fails shows the reason and keeps the text, a
// save over a file changed elsewhere asks, Open Folder with unsaved text asks, two saves and
// two restores give the text as first opened, Esc stops a long search, and closing the window
// ends the work.
#include <QElapsedTimer>
#include <QScrollBar>
#include <chrono>

#include "window_fixture.h"

namespace lodestar::testing {
namespace {

class UsersTextWindowTest : public StartedSkinTest {
  protected:
    // Opens the file and replaces "a" by "b" in it, unsaved.
    std::u16string openAndChange(const std::string& name) {
        const std::u16string path = docs.put(name, "aaa");
        openThroughDialog(path);
        replaceAll(u"a", u"b");
        EXPECT_TRUE(waitUntil([&] { return form().controls()["btnSave"].enabled; }));
        return path;
    }
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
    EXPECT_GT(box.text.size(), 25) << "the reason is missing";
    EXPECT_EQ(docs.bytes("x.txt"), "aaa");
    EXPECT_TRUE(window->control("btnSave")->isEnabled());
    EXPECT_EQ(toUtf8(form().document().text), "bbb");
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_TRUE(
        widget<QPlainTextEdit>("logger")->toPlainText().contains("Err:Can't save the file."));
}

TEST_F(UsersTextWindowTest, SaveOverAFileChangedElsewhereAsksAndCancelWritesNothing) {
    openAndChange("page.txt");
    docs.put("page.txt", "zzzz");
    const auto file = docs.path() / "page.txt";
    std::filesystem::last_write_time(
        file, std::filesystem::last_write_time(file) + std::chrono::seconds(2));
    Seen seen;
    answerMessageByKey(Qt::Key_Escape, &seen);
    key(Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(waitUntil([&] { return seen.shown; }));
    EXPECT_NE(seen.text.indexOf(QStringLiteral("changed by another program")), -1);
    EXPECT_EQ(docs.bytes("page.txt"), "zzzz");
    EXPECT_TRUE(form().controls()["btnSave"].enabled);
}

TEST_F(UsersTextWindowTest, OpenFolderWithUnsavedTextAsksAndCancelKeepsTheText) {
    const std::u16string path = openAndChange("notes.htm");
    Seen seen;
    answerMessage(QMessageBox::Cancel, &seen);
    key(Qt::Key_F, Qt::ControlModifier);
    ui::FormWindow* picker = shown(folder().picker());
    ASSERT_NE(picker, nullptr);
    folder().picker().typeText("Dir1", docs.folder());
    press(picker, "btnOK");
    ASSERT_TRUE(waitUntil([&] { return seen.shown; }));
    EXPECT_NE(seen.text.indexOf(QStringLiteral("Your file not saved")), -1);
    settle();
    EXPECT_FALSE(form().MultiMode());
    EXPECT_EQ(form().document().path, path);
    EXPECT_EQ(toUtf8(form().document().text.str()), "bbb");
}

TEST_F(UsersTextWindowTest, TwoSavesThenTwoRestoresGiveTheTextAsFirstOpened) {
    openThroughDialog(docs.put("notes.html", "apple"));
    docs.put("notes.bak", "the user's own");
    for (const auto& [from, to] : {std::pair{u"apple", u"pear"}, std::pair{u"pear", u"plum"}}) {
        replaceAll(from, to);
        saveByKey();
    }
    ASSERT_EQ(docs.bytes("notes.html"), "plum");
    restoreByKey();
    ASSERT_TRUE(waitUntil([&] { return docs.bytes("notes.html") == "pear"; }));
    restoreByKey();
    ASSERT_TRUE(waitUntil([&] { return docs.bytes("notes.html") == "apple"; }));
    EXPECT_EQ(toUtf8(form().document().text.str()), "apple");
    EXPECT_EQ(docs.bytes("notes.bak"), "the user's own");
    EXPECT_FALSE(form().controls()["btnRestore"].enabled);
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
