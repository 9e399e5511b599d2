// A randomized user of the headless main window. A session plays a list of steps (open and
// reopen files, type patterns and replacements, flip the four switches, Find, move, click list
// entries, Replace, Save, Restore, run command files, the view switches, Instant Test, and the
// user's own changes to the files: read-only, a blocked backup, Exit), answering every question
// as the step says, letting the panes load at once or only later, and checks after each step
// what must always hold:
//  - a file on disk holds its original text or exactly a text the window was asked to save into
//    it; a sibling backup holds a text the file really had;
//  - Save is enabled exactly while the text in memory differs from what the file holds;
//  - the source view shows the text in memory; counter, marks and list agree with a fresh count
//    of the search pattern over that text;
//  - the ticks are the switches the engine and the dot rewrite use;
//  - no exception escapes, and no step that failed leaves "Done." or a success line behind.
// Steps are plain data made from a seed, so a failing run replays exactly and can be shrunk.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "fakes/desktop_fakes.h"
#include "fakes/scripted_prompts.h"
#include "forms/main/main_window.h"
#include "support/temp_dir.h"

namespace lodestar::testing {

enum class Act {
    Open,         // a: file (3: the dialog is cancelled), b: 0 button / 1 menu
    Pattern,      // a: pattern of the pool
    Replacement,  // a: replacement of the pool
    Switch,       // a: one of the four boxes or their menu entries
    Find,         // a: 0 button / 1 menu
    Next,
    Prev,
    Entry,        // a: list entry clicked (1-based)
    Replace,      // a: 0 button / 1 menu
    Save,         // a: 0 button / 1 menu
    Restore,      // a: 0 button / 1 menu
    Action,       // a: command file of the pool (its last: a file that does not exist)
    View,         // a: one of the view switches
    InstantTest,  // "Instant Test": closes the single file
    Tick,         // Timer1 fires (the pane has loaded)
    ReadOnly,     // a: file, b: 1 read-only / 0 writable again
    BlockBackup,  // a: file, b: 1 a folder takes the backup's name / 0 removed
    UsedPattern,  // a: entry of the "Used Regexps" menu
    Exit,         // "Exit": the quit check, and the window closes when it may
};

struct Step {
    Act act;
    int a = 0;
    int b = 0;
    unsigned answers = 0;  // bit i: the i-th question of this step is answered OK
    bool late = false;     // the panes finish loading only after a later step
};

// What went wrong, and at which step (0-based).
struct Fault {
    std::size_t step = 0;
    std::string what;
};

class RandomUser {
  public:
    static constexpr int kFiles = 4;  // the last is long: its page is generated

    // The files' original texts come from the seed.
    explicit RandomUser(std::uint32_t contentSeed);
    ~RandomUser();

    // Plays the steps on a fresh window, checking after each; the first fault ends the run, and
    // so does the window closing.
    std::optional<Fault> run(const std::vector<Step>& steps);
    // How many steps the last run played.
    std::size_t played() const { return played_; }

    // Steps of a user made from a seed.
    static std::vector<Step> randomSteps(std::uint32_t seed, std::size_t count);
    // The shortest failing sub-list found by removing runs of steps while the run still fails.
    std::vector<Step> shrink(std::vector<Step> steps);
    // The steps as C++ source, ready to paste into an ordinary test.
    static std::string asCode(std::uint32_t contentSeed, const std::vector<Step>& steps);

  private:
    struct Session;
    std::vector<std::string> originals_;
    std::unique_ptr<TempDir> program_;
    std::size_t played_ = 0;
};

}  // namespace lodestar::testing
