// The user's text in the real window: a save over a file changed elsewhere asks, Open Folder
// with unsaved text asks, Esc stops a long search, and closing the window ends the work.
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <chrono>
#include <filesystem>

#include "window_fixture.h"

namespace lodestar::testing {
namespace {

class UsersTextWindowTest : public StartedSkinTest {
  protected:
    // Opens the file and replaces "a" by "b" in it, unsaved.
    std::u16string openAndChange(const std::string& name) {
        const std::u16string path = docs.put(name, "aaa");
        openThroughDialog(path);
        typePattern(u"a", u"b");
        answerMessage(QMessageBox::Ok);
        click("btnReplace");
        EXPECT_TRUE(waitUntil([&] { return form().controls()["btnSave"].enabled; }));
        return path;
    }
    // A text long enough that finding every "a" in it takes a while.
    std::u16string openLongText() {
        std::string line(99, 'a');
        line += '\n';
        std::string text;
        text.reserve(40'000'000);
        while (text.size() < 40'000'000) text += line;
        const std::u16string path = docs.put("long.txt", text);
        form().options.backupOnReplace = false;
        answerMessage(QMessageBox::Ok);  // the large-file question, where it is asked
        typePath(path);
        return path;
    }
};

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
    ui::FormWindow* picker = window->formWindow(folder().picker());
    ASSERT_NE(picker, nullptr);
    ASSERT_TRUE(waitUntil([&] { return picker->isVisible(); }));
    folder().picker().typeText("Dir1", docs.folder());
    QTest::mouseClick(picker->control("btnOK"), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return seen.shown; }));
    EXPECT_NE(seen.text.indexOf(QStringLiteral("Your file not saved")), -1);
    settle();
    EXPECT_FALSE(form().MultiMode);
    EXPECT_EQ(form().document().path, path);
    EXPECT_EQ(toUtf8(form().document().text.str()), "bbb");
}

TEST_F(UsersTextWindowTest, EscStopsALongSearchAndTheWindowGoesOn) {
    openLongText();
    settle();
    typePattern(u"a");
    key(Qt::Key_F3);
    ASSERT_TRUE(waitUntil([&] { return form().working(); }));
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
    openLongText();
    settle();
    typePattern(u"a");
    key(Qt::Key_F3);
    ASSERT_TRUE(waitUntil([&] { return form().working(); }));
    window->close();
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(window->endWork(2000));
    EXPECT_LT(clock.elapsed(), 2000);
}

}  // namespace
}  // namespace lodestar::testing
