// A workspace (the main window with its folder scope and dialogs) on a program folder of its
// own (the project's lib/ and help/ copied into a temp folder), with scripted prompts, a fake
// clipboard, timer and shell, runs done at once, and helpers that act as a user would.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "core/text.h"
#include "fakes/desktop_fakes.h"
#include "fakes/scripted_prompts.h"
#include "fakes/sync_work_runner.h"
#include "forms/workspace/workspace.h"
#include "support/temp_dir.h"

namespace lodestar::testing {

inline std::string u8(const std::u16string& text) {
    return toUtf8(text);
}

// The options in force changed as the options dialog changes them.
template <class Change>
void changeOptions(MainWindow& w, Change change) {
    Options options = w.currentOptions();
    change(options);
    w.applyOptions(options);
}

// Every pane that is loading finishes loading.
inline void settlePanes(MainWindow& w) {
    for (Pane p : {Pane::ListView, Pane::SuperMonitor, Pane::MatchView})
        if (w.pane(p).busy()) w.onNavigateComplete(p, w.pane(p).address());
}

// The project's lib/ and help/ and an empty rep/ in a program folder of the test's own.
inline void makeProgramFolder(const TempDir& program) {
    namespace fs = std::filesystem;
    for (const char* folder : {"lib", "help"})
        fs::copy(fs::path(LODESTAR_SOURCE_DIR) / folder, program.path() / folder,
                 fs::copy_options::recursive);
    fs::create_directories(program.path() / "rep");
}

// A workspace on the program folder, its window loaded, with its pages loaded and of a usual
// size; with a state file it remembers there from one run to the next, as the desktop program
// does. The folder picker starts at `pickerStart`.
inline std::unique_ptr<Workspace> startWorkspace(const std::u16string& programFolder,
                                                 WorkspaceServices services,
                                                 const std::u16string& stateFile = u"",
                                                 const std::u16string& pickerStart = u"/") {
    auto ws = std::make_unique<Workspace>(programFolder, services, pickerStart,
                                          std::vector<std::u16string>{u"/"});
    MainWindow& w = ws->window();
    w.setStateFile(stateFile);
    w.load();
    settlePanes(w);
    w.resize({9600, 6800, 9720, 7400});
    return ws;
}

class WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        makeProgramFolder(program);
        // The user's options file of these tests lives in their program folder.
        setenv("XDG_CONFIG_HOME", (program.path() / "config").c_str(), 1);
        // ... and the history of its saves in their own state folder.
        setenv("XDG_STATE_HOME", (program.path() / "state").c_str(), 1);
        start();
    }
    // A fresh workspace in place of the one before, as a new run of the program.
    void start(const std::u16string& stateFile = u"") {
        ws.reset();
        ws = startWorkspace(program.folder(),
                            WorkspaceServices{prompts, clipboard, timer, shell, nullptr, &runner},
                            stateFile, docs.folder());
        w = &ws->window();
    }

    void settle() { settlePanes(*w); }
    // While blocked, no backup can be kept (the state folder is a file), so a save fails.
    void blockBackups(bool on) {
        const std::filesystem::path blocked = program.path() / "state-is-a-file";
        if (on) program.put("state-is-a-file", "");
        setenv("XDG_STATE_HOME", (on ? blocked : program.path() / "state").c_str(), 1);
    }

    std::u16string put(const std::string& name, const std::string& bytes) {
        return docs.put(name, bytes);
    }
    // Opens a file through the open-file button and its dialog.
    void open(const std::u16string& path) {
        prompts.choosePath(path);
        w->click("selFile");
        settle();
    }
    std::u16string openNew(const std::string& name, const std::string& bytes) {
        std::u16string path = put(name, bytes);
        open(path);
        return path;
    }
    // Opens the file and replaces "a" by "b" in it, unsaved.
    std::u16string openAndChange(const std::string& name, const std::string& bytes = "aaa") {
        const std::u16string path = openNew(name, bytes);
        replace(u"a", u"b");
        return path;
    }
    // Types a pattern and presses Find; the source pane loads and the timer fires.
    void find(const std::u16string& pattern) {
        w->typeText("inRepFrom", pattern);
        w->click("btnFind");
        settle();
        if (timer.armed) w->onTimer1Tick();
    }

    // Types both boxes and presses Replace, answering its question with OK (or Cancel).
    void replace(const std::u16string& pattern, const std::u16string& with, bool ok = true) {
        w->typeText("inRepFrom", pattern);
        w->typeText("inRepWith", with);
        ok ? prompts.answerOk() : prompts.answerCancel();
        w->click("btnReplace");
    }
    // Writes a command file into the program's rep/ folder and runs it through Action.
    void runCommandFile(const std::string& commands, const std::string& name = "t.rep") {
        program.put("rep/" + name, commands);
        prompts.choosePath(program.file("rep/" + name));
        w->click("btnAction");
    }
    std::string lastQuestion() const { return u8(prompts.asked.back().text); }

    const Control& c(const std::string& name) const { return w->controls()[name]; }
    std::string text(const std::string& name) const { return u8(c(name).text); }
    std::string log() const { return text("logger"); }
    PaneModel& source() { return w->pane(Pane::SuperMonitor); }
    PaneModel& matches() { return w->pane(Pane::MatchView); }
    std::string listHtml() { return u8(matches().elementHtml(u"mlist")); }

    TempDir program;
    TempDir docs;
    fakes::ScriptedPrompts prompts;
    fakes::FakeClipboard clipboard;
    fakes::FakeTimer timer;
    fakes::FakeShell shell;
    fakes::SyncWorkRunner runner;
    std::unique_ptr<Workspace> ws;
    MainWindow* w = nullptr;
};

}  // namespace lodestar::testing
