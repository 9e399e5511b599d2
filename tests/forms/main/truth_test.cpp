// The window never loses the user's text and says what really happened: re-shows, failed
// reloads, pages that never load, the newest text winning, nothing after shut-down; saves over a
// file changed elsewhere, the open file's path typed again, Restore's question, and a selection
// used as a pattern.
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <sstream>

#include "files/text_file.h"
#include "forms/main/window_fixture.h"

namespace lodestar::testing {
namespace {

namespace fs = std::filesystem;

using Truth = WindowTest;

// Re-showing the source view after an unsaved replace keeps the replaced text, also when the
// file has gone from the disk meanwhile, and Save then writes it.
TEST_F(Truth, ReShowingTheSourceViewKeepsTheUnsavedText) {
    for (bool vanished : {false, true}) {
        openNew("b.txt", "banana");
        replace(u"a", u"o");
        find(u"o");
        if (vanished) fs::remove(docs.path() / "b.txt");
        const std::string before = log();
        w->click("btnViewIn");
        w->click("mViewIn");
        EXPECT_EQ(u8(w->document().text), "bonono") << vanished;
        EXPECT_EQ(u8(source().bodyText()), "bonono") << vanished;
        EXPECT_EQ(source().markCount(), 3u) << vanished;
        EXPECT_EQ(log(), before) << vanished;  // no reload, so nothing to fail
        ASSERT_TRUE(c("btnSave").enabled) << vanished;
        w->click("btnSave");
        if (vanished) {  // the text is still there to be saved elsewhere; nothing is lost
            EXPECT_EQ(lastQuestion().rfind("Can't save the file.", 0), 0u);
            EXPECT_TRUE(c("btnSave").enabled);
            EXPECT_EQ(u8(w->document().text), "bonono");
        } else {
            EXPECT_EQ(docs.bytes("b.txt"), "bonono");
        }
    }
}

TEST_F(Truth, AFailedReloadSaysTheFileCannotBeOpenedAndKeepsTheText) {
    openNew("gone.txt", "kept");
    fs::remove(docs.path() / "gone.txt");
    w->file().readPicked(false);
    EXPECT_NE(log().find("Err:Can't open the file.\r\n"), std::string::npos) << log();
    EXPECT_EQ(text("lblStatus"), "Can't open the file.");
    EXPECT_EQ(u8(w->document().text), "kept");
}

// Timer1 waits for the source page, but not for ever: a page that never finishes loading is
// reported once and the timer stops; a page that loads in time shows the first match.
TEST_F(Truth, TheWaitForTheSourcePageIsBounded) {
    openNew("a.txt", "abc");
    w->typeText("inRepFrom", u"b");
    w->click("btnFind");
    source().navigate(docs.file("never.htm"));  // loading, and it never completes
    int ticks = 0;
    while (timer.armed && ticks < 100000) {
        w->onTimer1Tick();
        ++ticks;
    }
    EXPECT_FALSE(timer.armed);
    EXPECT_GT(ticks, 100);  // it did wait
    EXPECT_LT(ticks, 100000);
    EXPECT_NE(log().find("Err:The source view did not finish loading."), std::string::npos);
    EXPECT_EQ(text("matchNo"), "0/1");

    w->click("btnFind");  // again, and this time the page loads after a few ticks
    source().navigate(docs.file("late.htm"));
    for (int i = 0; i < 5; ++i) w->onTimer1Tick();
    EXPECT_EQ(timer.interval, 50);  // waits at a slower pace
    settle();
    w->onTimer1Tick();
    EXPECT_FALSE(timer.armed);
}

// A text rendered while the source pane still loads its page is what the page shows once it
// has loaded, not the text it had before.
TEST_F(Truth, TheNewestTextWinsOverAPageStillLoading) {
    openNew("long.txt", std::string(70000, 'q'));
    source().navigate(source().address());  // the page loads again and has not finished
    ASSERT_TRUE(source().busy());
    replace(u"q+", u"short");
    settle();
    EXPECT_EQ(u8(source().bodyText()), "short");
    EXPECT_EQ(u8(w->document().text), "short");
}

// Events a skin delivers after the window shut down (a page that finishes loading, a timer tick,
// a renderer that died, a click still queued) leave the window as it was.
using LateEvents = WindowTest;

// Everything a late event could change: each control, each pane, the timer and the prompts.
std::string snapshot(MainWindow& w, const fakes::FakeTimer& timer,
                     const fakes::ScriptedPrompts& prompts) {
    std::ostringstream s;
    for (const std::string& name : w.controls().names()) {
        const Control& c = w.controls()[name];
        s << name << c.enabled << c.checked << c.visible << u8(c.text) << c.selected << '\n';
    }
    for (Pane p : {Pane::ListView, Pane::SuperMonitor, Pane::MatchView}) {
        const PaneModel& pane = w.pane(p);
        s << pane.busy() << u8(pane.address()) << u8(pane.bodyHtml()) << pane.markCount()
          << pane.entryCount() << '\n';
    }
    s << timer.armed << prompts.asked.size() << w.file().matchCount();
    return s.str();
}

TEST_F(LateEvents, EventsAfterShutDownChangeNothing) {
    openNew("a.txt", "one two three two");
    find(u"two");
    // The source page loads again and has not finished when the user leaves.
    const std::u16string sourceAddress = source().address();
    source().navigate(sourceAddress);
    w->click("mExit");
    ASSERT_TRUE(w->closed());
    ASSERT_TRUE(source().busy());

    const std::pair<const char*, std::function<void()>> late[] = {
        {"source page loaded", [&] { w->onNavigateComplete(Pane::SuperMonitor, sourceAddress); }},
        {"match list loaded", [&] { w->onNavigateComplete(Pane::MatchView, matches().address()); }},
        {"file table loaded",
         [&] { w->onNavigateComplete(Pane::ListView, w->pane(Pane::ListView).address()); }},
        {"timer tick", [&] { w->onTimer1Tick(); }},
        {"renderer gone", [&] { w->onRendererGone(Pane::SuperMonitor, false); }},
        {"list entry clicked",
         [&] { w->onBeforeNavigate(Pane::MatchView, matches().address() + u"#2"); }},
        {"selection as pattern", [&] { w->useSelectionAsPattern(u"three"); }},
        {"Find clicked", [&] { w->click("btnFind"); }},
        {"Enter in the path box", [&] { w->enterText("inputPath"); }},
    };
    for (const auto& [what, event] : late) {
        const std::string before = snapshot(*w, timer, prompts);
        event();
        EXPECT_EQ(snapshot(*w, timer, prompts), before) << what;
    }
}

class UsersText : public WindowTest {
  protected:
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
