// The journal a folder run keeps in its backup folder: written before the run's first change,
// one line per file whose original is safe in the backup folder, and a last line when the run
// ends. A run killed half-way, or stopped by a failure, leaves it unfinished: a new run then must
// not overwrite that run's backups, and Restore puts back exactly the files the journal names.
// A restore writes its start, one line per file put back and its end: a restore cut short leaves
// the journal unfinished too, and the next restore goes on with the files still waiting. The
// journal is also how the program knows a backup folder is its own.
#pragma once

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "files/folder_tree.h"

namespace lodestar {

// The journal's name inside the backup folder (hidden, so listings and restores pass it by).
inline constexpr std::u16string_view kJournalName = kRunJournalName;

inline constexpr std::u16string_view kUnfinishedRunMessage =
    u"The last run in this folder did not finish; its backups hold the originals.\r\n"
    u"Restore the folder first, or go on with that run.";

class RunJournal {
  public:
    enum class State { None, Finished, Unfinished };

    // What the journal in `backupFolder` (ending in "/") says.
    static State stateOf(const std::u16string& backupFolder);
    // The journal as it stands (empty when there is none).
    static RunJournal read(const std::u16string& backupFolder);
    // Starts a run's journal. `goOn` with an unfinished journal keeps its entries, so the files
    // that run changed keep their backups; otherwise a new, empty journal replaces any old one.
    // The backup folder must exist. Throws FileError when the journal cannot be written.
    static RunJournal begin(const std::u16string& backupFolder, bool goOn,
                            std::u16string_view kind = u"replace");

    // True when the backup of `name` holds the original of a file this run (or the run it goes
    // on with) changed: such a backup must not be overwritten.
    bool holds(std::u16string_view name) const;
    // Names the file whose original is now in the backup folder; on the disk before returning.
    void recordBackup(std::u16string_view name);
    // The same for many files at once, in one write to the disk.
    void recordBackups(const std::vector<std::u16string>& names);
    // Names a file that was left unchanged after all: Restore passes it by.
    void recordUnchanged(std::u16string_view name);
    // A restore begins: until completeRestore the journal is unfinished.
    void beginRestore();
    // The file's backup is about to go back: should the restore be cut short now, a missing
    // backup of this name is back in place already.
    void recordPuttingBack(std::u16string_view name);
    // The same for many files at once, in one write to the disk.
    void recordPuttingBack(const std::vector<std::u16string>& names);
    bool puttingBack(std::u16string_view name) const;
    // The file's backup is back in place: it is no longer waiting.
    void recordRestored(std::u16string_view name);
    // The same for many files at once, in one write to the disk.
    void recordRestored(const std::vector<std::u16string>& names);
    // Every waiting file is back: the journal is finished again, with nothing waiting.
    void completeRestore();
    // Marks the run finished.
    void finish();
    bool finished() const { return finished_; }
    // True when the last thing the journal tells is a complete restore.
    bool restoredAll() const { return restoredAll_; }

    // When the run began (seconds since 1970; 0 when the journal does not say) and what it was.
    std::time_t started() const { return started_; }
    const std::u16string& kind() const { return kind_; }

    // The files Restore puts back, in the order they were recorded.
    const std::vector<std::u16string>& changedFiles() const { return changed_; }

    // Deletes the journal (after a complete restore).
    static void remove(const std::u16string& backupFolder);
    // True when `backupFolder` holds a journal of the program: the folder is the program's own.
    static bool isJournalFolder(const std::u16string& backupFolder);

  private:
    void append(std::string_view word, std::u16string_view name);
    void appendLines(const std::string& lines);

    std::u16string path_;
    std::vector<std::u16string> changed_;
    std::vector<std::u16string> puttingBack_;
    bool finished_ = false;
    bool restoredAll_ = false;
    std::time_t started_ = 0;
    std::u16string kind_;
};

}  // namespace lodestar
