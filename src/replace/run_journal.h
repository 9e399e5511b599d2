// The journal a folder run keeps in its backup folder: written before the run's first change,
// one line per file whose original is safe in the backup folder, and a last line when the run
// ends. A run killed half-way leaves it unfinished: a new run then must not overwrite that run's
// backups, and Restore puts back exactly the files the journal names.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lodestar {

// The journal's name inside the backup folder (hidden, so listings and restores pass it by).
inline constexpr std::u16string_view kJournalName = u".lodestar-journal";

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
    static RunJournal begin(const std::u16string& backupFolder, bool goOn);

    // True when the backup of `name` holds the original of a file this run (or the run it goes
    // on with) changed: such a backup must not be overwritten.
    bool holds(std::u16string_view name) const;
    // Names the file whose original is now in the backup folder; on the disk before returning.
    void recordBackup(std::u16string_view name);
    // The same for many files at once, in one write to the disk.
    void recordBackups(const std::vector<std::u16string>& names);
    // Names a file that was left unchanged after all: Restore passes it by.
    void recordUnchanged(std::u16string_view name);
    // Marks the run finished.
    void finish();
    bool finished() const { return finished_; }

    // The files Restore puts back, in the order they were recorded.
    const std::vector<std::u16string>& changedFiles() const { return changed_; }

    // Deletes the journal (after a complete restore).
    static void remove(const std::u16string& backupFolder);

  private:
    void append(std::string_view word, std::u16string_view name);
    void appendLines(const std::string& lines);

    std::u16string path_;
    std::vector<std::u16string> changed_;
    bool finished_ = false;
};

}  // namespace lodestar
