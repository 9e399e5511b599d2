// The history of a folder's runs: the backup folder holds the newest step (the originals of the
// last run's files under their own names, and its journal); each older step lies whole in
// ".lodestar-steps/<n>/" inside it, a hidden name no walked file can have. A new run moves the
// step before it there; a complete restore of the newest step brings the one before it back to
// the top, so Restore again takes it back.
#pragma once

#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace lodestar {

inline constexpr std::size_t kDefaultKeptFolderSteps = 10;

struct FolderStep {
    std::time_t started = 0;  // 0: not known (a journal of an older version)
    std::u16string kind;      // "replace", "batch"
    std::size_t files = 0;    // the files Restore would put back
};

// Moves the finished step at the top of `backupFolder` (ending in "/") into the history, and
// drops the oldest steps beyond `keep` (the top one counts). A top step with nothing waiting is
// not kept. Safe to repeat after a kill half-way.
void archiveNewestStep(const std::u16string& backupFolder,
                       std::size_t keep = kDefaultKeptFolderSteps);

// Moves the newest step of the history back to the top of `backupFolder`, whose own step must
// be restored; false when the history holds none.
bool promoteNewestStep(const std::u16string& backupFolder);

// A run killed after it moved the step before it into the history and before its own journal
// replaced that step's: the step goes back to the top. Answers whether it did.
bool recoverArchivedStep(const std::u16string& backupFolder);

// A restore killed after its run was all put back and while it brought the step before to the
// top: that step is brought to the top now. Answers whether it was.
bool finishCutShortPromotion(const std::u16string& backupFolder);

// The steps Restore can take back, newest first.
std::vector<FolderStep> folderSteps(const std::u16string& backupFolder);

}  // namespace lodestar
