// A randomized user of the main window in folder mode, in a file system that fights back. A
// session plays a list of steps on a folder that already holds the user's own "bak/" folder and
// ".bak" files and files that share a stem (page.htm, page.txt): open the folder, tick rows,
// type patterns and replacements, Find, Replace, Action with a command file, Restore, every
// question answered as the step says; between steps (and during a run, between two files)
// another program appends to, rewrites, truncates, deletes and renames files, swaps them for
// links to a file outside the folder and makes them read-only; a command-line run starts on the
// same folder just before the window's, or is killed at a random moment.
// After every step it checks what must always hold:
//  - a file the program changed had a text of the user's (at the start or written by the other
//    program) that is kept in a backup Restore brings back;
//  - a file the program left alone holds exactly what the other program last wrote there;
//  - nothing outside the folder changed, and the user's own backups keep their bytes;
//  - no step that logged an error logs success as well.
// At the end Restore is answered OK until nothing is left to take back: every file the other
// program never touched is back at its start, every other file holds its start or a text the
// other program wrote. Steps are plain data made from a seed, so a failing run replays exactly
// and can be shrunk.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace lodestar::testing {

enum class FolderAct {
    Open,         // a: filter (0 "*.htm;*.html", 1 "*.txt;*.csv")
    Tick,         // a: row (1-based), b: 1 ticked / 0 unticked
    Pattern,      // a: pattern of the pool
    Replacement,  // a: replacement of the pool
    Find,
    Replace,  // b: 1 counting first / 0 not
    Action,   // a: command file of the pool (its last: a file that does not exist)
    Restore,
    World,         // a: move, b: file (see kWorldMoves)
    CliAlongside,  // a: 0 replace / 1 restore on the command line started just before Replace
    CliKilled,     // a: 0 replace / 1 restore / 2 run, b: microseconds before SIGKILL (x 50)
};

struct FolderStep {
    FolderAct act;
    int a = 0;
    int b = 0;
    unsigned answers = 0;  // bit i: the i-th question of this step is answered OK
    int duringRun = -1;    // a world move (a * 16 + b) made after the first report of a run
};

struct FolderFault {
    std::size_t step = 0;  // 0-based; the number of steps for the final Restore check
    std::string what;
};

// What a session met, summed over sessions.
struct FolderTally {
    std::size_t steps = 0;
    std::size_t runs = 0;  // Replace and Action steps that reached the engine
    std::size_t restores = 0;
    std::size_t busyRefusals = 0;    // a run refused as another worked in the folder
    std::size_t changedByOther = 0;  // files left alone as changed by another program
    std::size_t worldUndone = 0;     // texts of the other program Restore took back over
    std::size_t filesChanged = 0;    // files the program changed, its restores too
    std::size_t cliRestores = 0;     // final restores the window did not offer
};

class RandomFolderUser {
  public:
    static constexpr int kFiles = 6;       // the names the files and the other program use
    static constexpr int kWorldMoves = 8;  // append, rewrite, truncate, delete, rename, link,
                                           // read-only, writable
    static constexpr int kMaxRuns = 8;     // runs per session: every step stays in the history

    explicit RandomFolderUser(std::uint32_t contentSeed);
    ~RandomFolderUser();

    // Plays the steps on a fresh window and folder, checking after each, then restores until
    // nothing is left and checks the folder against its start. The first fault ends the run.
    std::optional<FolderFault> run(const std::vector<FolderStep>& steps);
    std::size_t played() const { return played_; }
    const FolderTally& tally() const { return tally_; }

    static std::vector<FolderStep> randomSteps(std::uint32_t seed, std::size_t count);
    // The shortest failing sub-list found by removing runs of steps while the run still fails.
    std::vector<FolderStep> shrink(std::vector<FolderStep> steps);
    static std::string asCode(std::uint32_t contentSeed, const std::vector<FolderStep>& steps);

  private:
    struct Session;
    std::uint32_t contentSeed_;
    std::unique_ptr<TempDir> program_;
    std::size_t played_ = 0;
    FolderTally tally_;
};

}  // namespace lodestar::testing
