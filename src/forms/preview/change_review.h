// The preview of a replace or a batch run as the user reviews it: per file and per change a tick,
// shown as a diff in the source view's pane a piece at a time, and the ticked changes handed to
// Apply. The pane's ticks are links; a click on one comes back as the address it names.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "files/file_sink.h"
#include "forms/model/pane_model.h"
#include "runs/change_preview.h"

namespace lodestar {

// What the review and the pieces it shows share; the pieces read the ticks as they are when the
// page asks for them.
struct ReviewState {
    FileRun run = FileRun::Replace;
    std::vector<FileChanges> files;
    std::vector<bool> fileTicked;
    std::u16string folder;  // a file in it is named by its path from there
    // The rows of the diff in order: a file's heading (second 0), then its changes (change + 1).
    std::vector<std::pair<std::uint32_t, std::uint32_t>> rows;
};

class ChangeReview {
  public:
    // A new preview, every file and change ticked; files in `folder` are named from there.
    void start(FileRun run, std::vector<FileChanges> files, std::u16string folder = {});
    void clear() { state_.reset(); }
    bool active() const { return state_ != nullptr; }
    FileRun run() const { return state_->run; }
    const std::vector<FileChanges>& files() const { return state_->files; }
    bool fileTicked(std::size_t file) const { return state_->fileTicked[file]; }
    std::size_t changeCount() const;
    // The changes Apply writes: ticked, in a ticked file.
    std::size_t tickedChanges() const;
    // The files Apply writes: ticked, with a ticked change.
    std::size_t filesToWrite() const;

    // Shows the diff in `pane` as a document in pieces.
    void show(PaneModel& pane) const;
    // A click on the pane's link to `address`: a tick is flipped and shown in `pane`. Answers the
    // file whose ticks changed; nothing when the address names no tick.
    std::optional<std::size_t> click(const std::u16string& address, PaneModel& pane);
    // "3 of 5 changes ticked": how much of a file Apply writes.
    std::u16string tickedText(std::size_t file) const;

    // The previewed files with the ticks Apply writes: a file not ticked has no ticked change.
    std::vector<FileChanges> toWrite() const;

  private:
    void showTicks(std::size_t file, PaneModel& pane) const;
    std::shared_ptr<ReviewState> state_;
};

}  // namespace lodestar
