// Backups in the real window: a user's own bak/ folder and .bak file survive runs, saves and
// restores; two saves and two restores give the text as first opened; a folder another run
// holds is refused.
#include <QPlainTextEdit>

#include "backups/folder_lock.h"
#include "window_fixture.h"

namespace lodestar::testing {
namespace {

class BackupsWindowTest : public StartedSkinTest {
  protected:
    void replaceInWindow(const std::u16string& from, const std::u16string& to) {
        typePattern(from, to);
        answerMessage(QMessageBox::Ok);
        click("btnReplace");
    }
    void restoreInWindow() {
        Seen asked;
        answerMessage(QMessageBox::Ok, &asked);
        key(Qt::Key_F8);
        ASSERT_TRUE(waitUntil([&] { return asked.shown; }));
    }
};

TEST_F(BackupsWindowTest, TheUsersOwnBakFolderSurvivesARunAndItsRestore) {
    docs.put("a.htm", "<p>x1</p>");
    docs.put("bak/a.htm", "mine");
    openThroughPicker();
    replaceInWindow(u"x", u"y");
    waitForRun();
    EXPECT_EQ(docs.bytes("a.htm"), "<p>y1</p>");
    EXPECT_EQ(docs.bytes("bak/a.htm"), "mine");
    EXPECT_EQ(docs.bytes("bak-2/a.htm"), "<p>x1</p>") << logText();
    restoreInWindow();
    waitForRun();
    EXPECT_EQ(docs.bytes("a.htm"), "<p>x1</p>");
    EXPECT_EQ(docs.bytes("bak/a.htm"), "mine");
}

TEST_F(BackupsWindowTest, TwoSavesThenTwoRestoresGiveTheTextAsFirstOpened) {
    const std::u16string path = docs.put("notes.html", "apple");
    docs.put("notes.bak", "the user's own");
    openThroughDialog(path);
    for (const auto& [from, to] : {std::pair{u"apple", u"pear"}, std::pair{u"pear", u"plum"}}) {
        replaceInWindow(from, to);
        ASSERT_TRUE(waitUntil([&] { return form().controls()["btnSave"].enabled; }));
        key(Qt::Key_S, Qt::ControlModifier);
        ASSERT_TRUE(waitUntil([&] { return !form().controls()["btnSave"].enabled; }));
    }
    ASSERT_EQ(docs.bytes("notes.html"), "plum");
    restoreInWindow();
    ASSERT_TRUE(waitUntil([&] { return docs.bytes("notes.html") == "pear"; }));
    restoreInWindow();
    ASSERT_TRUE(waitUntil([&] { return docs.bytes("notes.html") == "apple"; }));
    EXPECT_EQ(toUtf8(form().document().text.str()), "apple");
    EXPECT_EQ(docs.bytes("notes.bak"), "the user's own");
    EXPECT_FALSE(form().controls()["btnRestore"].enabled);
}

TEST_F(BackupsWindowTest, AFolderAnotherRunHoldsIsRefused) {
    docs.put("a.htm", "<p>x1</p>");
    openThroughPicker();
    FolderLock other(docs.folder());  // the command line, working in the same folder
    ASSERT_TRUE(other.held());
    replaceInWindow(u"x", u"y");
    waitForRun();
    EXPECT_EQ(docs.bytes("a.htm"), "<p>x1</p>");
    EXPECT_NE(logText().find("Another run or restore is working in this folder."),
              std::string::npos)
        << logText();
}

}  // namespace
}  // namespace lodestar::testing
