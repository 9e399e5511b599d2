// The user's text is never lost on the way: a save over a file another program changed, the
// path of the open file typed again, Restore's question, and a selection used as a pattern in a
// text with CR LF lines.
#include <sys/stat.h>

#include <chrono>
#include <filesystem>

#include "files/text_file.h"
#include "forms/main/window_fixture.h"

namespace lodestar::testing {
namespace {

namespace fs = std::filesystem;

class UsersText : public WindowTest {
  protected:
    // Opens the file and replaces "a" by "b" in it, unsaved.
    std::u16string openAndChange(const std::string& name, const std::string& bytes = "aaa") {
        const std::u16string path = openNew(name, bytes);
        replace(u"a", u"b");
        return path;
    }
    // Another program writes the file; its time moves on even on a coarse clock.
    void changeElsewhere(const std::string& name, const std::string& bytes) {
        docs.put(name, bytes);
        const fs::path file = docs.path() / name;
        fs::last_write_time(file, fs::last_write_time(file) + std::chrono::seconds(2));
    }
};

TEST_F(UsersText, ASaveOverAFileChangedElsewhereAsksAndDoesWhatTheUserChose) {
    enum Button { Overwrite, Reload, SaveAs, Cancel };
    const struct {
        Button button;
        const char* onDisk;  // the file afterwards
        const char* shown;   // the text of the window afterwards
        bool unsaved;        // Save still offered
    } rows[] = {
        {Overwrite, "bbb", "bbb", false},
        {Reload, "zzz", "zzz", false},
        {SaveAs, "zzz", "bbb", false},
        {Cancel, "zzz", "bbb", true},
    };
    for (const auto& row : rows) {
        const std::string name = "page" + std::to_string(row.button) + ".txt";
        const std::u16string path = openAndChange(name);
        changeElsewhere(name, "zzz");
        const std::u16string copy = docs.file("copy" + std::to_string(row.button) + ".txt");
        prompts.asked.clear();
        prompts.answerButton(row.button);
        if (row.button == SaveAs) prompts.choosePath(copy);
        w->click("btnSave");
        settle();
        ASSERT_FALSE(prompts.asked.empty()) << name;
        EXPECT_EQ(prompts.asked.front().kind, "choose") << name;
        EXPECT_NE(u8(prompts.asked.front().text).find("changed by another program"),
                  std::string::npos);
        EXPECT_EQ(docs.bytes(name), row.onDisk) << name;
        EXPECT_EQ(u8(w->document().text), row.shown) << name;
        EXPECT_EQ(c("btnSave").enabled, row.unsaved) << name;
        if (row.button == SaveAs) {
            EXPECT_EQ(u8(LoadFileText(copy)), "bbb");
            EXPECT_EQ(w->document().path, copy) << "the text now belongs to the file saved as";
        }
    }
    // Cancel asks again at the next save; once written, the next save checks against the file
    // as written: no question.
    prompts.answerButton(Overwrite);
    w->click("btnSave");
    EXPECT_EQ(docs.bytes("page3.txt"), "bbb");
    prompts.asked.clear();
    replace(u"b", u"c");
    w->click("btnSave");
    EXPECT_EQ(prompts.asked.size(), 1u) << "only the replace question";
}

TEST_F(UsersText, SaveAsWritesANewFileAndAsksBeforeReplacingAnother) {
    openAndChange("a.txt");
    const std::u16string taken = put("taken.txt", "keep");
    prompts.choosePath(taken);
    prompts.answerCancel();
    w->click("mSaveAs");
    EXPECT_EQ(docs.bytes("taken.txt"), "keep");
    EXPECT_TRUE(c("btnSave").enabled);
    const std::u16string fresh = docs.file("fresh.txt");
    prompts.choosePath(fresh);
    w->click("mSaveAs");
    EXPECT_EQ(docs.bytes("fresh.txt"), "bbb");
    EXPECT_EQ(docs.bytes("a.txt"), "aaa");
    EXPECT_EQ(text("inputPath"), u8(fresh));
    EXPECT_FALSE(c("btnSave").enabled);
}

TEST_F(UsersText, TheOpenFilesPathTypedAgainReadsItAgainAskingFirstWhenUnsaved) {
    const std::u16string path = openNew("notes.txt", "one");
    changeElsewhere("notes.txt", "two");
    w->typeText("inputPath", path);
    w->textFocusLost("inputPath");  // leaving the box reads nothing
    EXPECT_EQ(u8(w->document().text), "one");
    w->enterText("inputPath");
    settle();
    EXPECT_EQ(u8(w->document().text), "two");

    replace(u"t", u"T");
    prompts.answerCancel();
    w->enterText("inputPath");
    settle();
    EXPECT_EQ(prompts.asked.back().kind, "saveDiscardCancel");
    EXPECT_EQ(u8(w->document().text), "Two");
    prompts.answerDiscard();
    w->enterText("inputPath");
    settle();
    EXPECT_EQ(u8(w->document().text), "two");
}

TEST_F(UsersText, RestoreAsksBeforeItPutsAnythingBack) {
    openAndChange("r.txt");
    prompts.answerCancel();
    w->click("btnRestore");
    EXPECT_EQ(prompts.asked.back().kind, "okCancel");
    EXPECT_EQ(u8(w->document().text), "bbb") << "Cancel keeps the replaced text";
    w->click("btnSave");
    ASSERT_EQ(docs.bytes("r.txt"), "bbb");
    prompts.answerCancel();
    w->click("btnRestore");
    EXPECT_EQ(lastQuestion().rfind("Restore r.txt to its state before the save of", 0), 0u);
    EXPECT_EQ(docs.bytes("r.txt"), "bbb") << "Cancel keeps the saved file";
    w->click("btnRestore");
    EXPECT_EQ(docs.bytes("r.txt"), "aaa");
    EXPECT_EQ(u8(w->document().text), "aaa");
}

TEST_F(UsersText, ASelectionBecomesAPatternWithTheLineBreaksTheTextHas) {
    const struct {
        const char* text;
        const char16_t* selection;  // as the view gives it: line feeds only
        const char* pattern;
    } rows[] = {
        {"one\r\ntwo\r\n", u"one\ntwo", "one\\r\\ntwo"},
        {"one\ntwo\n", u"one\ntwo", "one\\ntwo"},
        {"one\r\ntwo\nthree", u"one\ntwo", "one\\r?\\ntwo"},
        {"a\\nb\r\nc", u"a\\nb\nc", "a\\\\nb\\r\\nc"},
    };
    for (const auto& row : rows) {
        openNew("sel.txt", row.text);
        w->useSelectionAsPattern(row.selection);
        EXPECT_EQ(text("inRepFrom"), row.pattern) << row.text;
        find(c("inRepFrom").text);
        EXPECT_EQ(w->file().matchCount(), 1) << row.text;
    }
}

TEST_F(UsersText, AFifoInPlaceOfTheSettingsFileIsNotReadAndTheLogSaysSo) {
    const fs::path folder = program.path() / "config" / "lodestar";
    fs::create_directories(folder);
    ASSERT_EQ(mkfifo((folder / "settings").c_str(), 0600), 0);
    start();
    EXPECT_NE(log().find("settings is not a regular file (a FIFO or a device); it is not read."),
              std::string::npos);
}

}  // namespace
}  // namespace lodestar::testing
