// The history of one file's saves: before each Save (or single-file replace or batch) the text
// the file holds is kept as a step, so Restore takes back the latest step and Restore again the
// step before, down to the text as first opened. The steps live in the user's state folder
// ($XDG_STATE_HOME/lodestar/history/, one folder per file), never beside the file, so they take
// no name the user might use; each is a copy with the file's bits, times and extended
// attributes. The sibling backup beside the file (page.bak) is a copy of the newest step, kept
// for the user's eye; it never takes a name held by a file the program did not write.
#pragma once

#include <cstddef>
#include <ctime>
#include <string>
#include <vector>

namespace lodestar {

inline constexpr std::size_t kDefaultKeptSteps = 10;

// One kept step: when it was made and by what ("save", "replace", "batch").
struct HistoryStep {
    int number = 0;
    std::time_t made = 0;
    std::u16string kind;
    bool wasLink = false;  // the path was a symbolic link then: the save wrote its target
};

class FileHistory {
  public:
    // The history of the file at `path` (made absolute) under `stateFolder` (ending in "/";
    // empty: the user's state folder).
    explicit FileHistory(const std::u16string& path, std::u16string stateFolder = {});

    const std::vector<HistoryStep>& steps() const { return steps_; }

    // Keeps the file as it is now as the newest step, and drops the oldest beyond `keep`.
    // `wasReadOnly`: the caller cleared the file's read-only bit for this save; the step keeps
    // it. Throws FileError or BackupError when the step cannot be kept (nothing kept then).
    void add(std::u16string_view kind, bool wasReadOnly, std::size_t keep = kDefaultKeptSteps);
    // The save the newest step was made for did not happen: the step goes again.
    void dropNewest();
    // Puts the newest step back over the file (its bits, times and attributes too) and drops
    // it. A path that became a link since the step is refused: nothing is written through it.
    // Throws FileError or BackupError; the file is then as it was.
    void restoreNewest();

    // The sibling backup beside the file: the asked-for name (page.bak) unless a file the
    // program did not write holds it, then path + ".bak", then numbered names. Empty when the
    // history keeps none.
    std::u16string sibling() const { return sibling_; }
    // Makes the sibling a copy of the newest step, or removes it when no step is left.
    void refreshSibling();

  private:
    void save() const;
    std::u16string stepPath(int number) const;
    bool ownsSibling(const std::u16string& candidate) const;

    std::u16string path_;
    std::u16string folder_;
    std::vector<HistoryStep> steps_;
    std::u16string sibling_;
    unsigned long long siblingDevice_ = 0;
    unsigned long long siblingInode_ = 0;
    // The sibling's change time in nanoseconds: a file made later at its name may get the same
    // inode number again, never the same change time.
    long long siblingChanged_ = 0;
};

}  // namespace lodestar
