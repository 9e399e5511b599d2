// Ticks of a preview and the clicks that flip them.
#include "forms/preview/change_review.h"

#include "core/text.h"
#include "forms/preview/review_pieces.h"

namespace lodestar {

namespace {

// The number at `at` in `text`, and where it ends.
std::optional<std::size_t> numberAt(std::u16string_view text, std::size_t& at) {
    std::size_t n = 0, digits = 0;
    while (at < text.size() && text[at] >= u'0' && text[at] <= u'9' && digits < 12) {
        n = n * 10 + static_cast<std::size_t>(text[at++] - u'0');
        ++digits;
    }
    if (digits == 0) return std::nullopt;
    return n;
}

}  // namespace

void ChangeReview::start(FileRun run, std::vector<FileChanges> files, std::u16string folder) {
    auto state = std::make_shared<ReviewState>();
    state->run = run;
    state->folder = std::move(folder);
    state->files = std::move(files);
    state->fileTicked.assign(state->files.size(), true);
    for (std::size_t f = 0; f < state->files.size(); ++f) {
        state->rows.push_back({static_cast<std::uint32_t>(f), 0});
        for (std::size_t k = 0; k < state->files[f].changes.size(); ++k)
            state->rows.push_back(
                {static_cast<std::uint32_t>(f), static_cast<std::uint32_t>(k + 1)});
    }
    state_ = std::move(state);
}

std::size_t ChangeReview::changeCount() const {
    std::size_t n = 0;
    for (const FileChanges& file : state_->files) n += file.changes.size();
    return n;
}

std::size_t ChangeReview::tickedChanges() const {
    std::size_t n = 0;
    for (std::size_t f = 0; f < state_->files.size(); ++f)
        if (state_->fileTicked[f]) n += state_->files[f].tickedCount();
    return n;
}

std::size_t ChangeReview::filesToWrite() const {
    std::size_t n = 0;
    for (std::size_t f = 0; f < state_->files.size(); ++f)
        n += state_->fileTicked[f] && state_->files[f].tickedCount() > 0;
    return n;
}

void ChangeReview::show(PaneModel& pane) const {
    pane.clearSelection();
    pane.setBodyPieces(std::make_shared<ReviewPieces>(state_));
}

std::optional<std::size_t> ChangeReview::click(const std::u16string& address, PaneModel& pane) {
    if (!state_) return std::nullopt;
    const std::size_t hash = address.rfind(u'#');
    if (hash == std::u16string::npos || address.size() < hash + 3 || address[hash + 1] != u'p' ||
        (address[hash + 2] != u'f' && address[hash + 2] != u'c'))
        return std::nullopt;
    const bool wholeFile = address[hash + 2] == u'f';
    std::size_t at = hash + 3;
    const std::optional<std::size_t> file = numberAt(address, at);
    if (!file || *file >= state_->files.size()) return std::nullopt;
    if (wholeFile) {
        if (at != address.size()) return std::nullopt;
        state_->fileTicked[*file] = !state_->fileTicked[*file];
    } else {
        if (at >= address.size() || address[at] != u'_') return std::nullopt;
        ++at;
        const std::optional<std::size_t> change = numberAt(address, at);
        std::vector<bool>& ticks = state_->files[*file].ticked;
        if (!change || *change >= ticks.size() || at != address.size()) return std::nullopt;
        ticks[*change] = !ticks[*change];
        pane.setElementHtml(changeTickId(*file, *change), tickMark(ticks[*change]));
    }
    showTicks(*file, pane);
    return *file;
}

void ChangeReview::showTicks(std::size_t file, PaneModel& pane) const {
    pane.setElementHtml(fileTickId(file), tickMark(state_->fileTicked[file]));
    pane.setElementHtml(fileCountId(file), tickedText(file));
}

std::u16string ChangeReview::tickedText(std::size_t file) const {
    return tickedCountText(*state_, file);
}

std::vector<FileChanges> ChangeReview::toWrite() const {
    std::vector<FileChanges> files = state_->files;
    for (std::size_t f = 0; f < files.size(); ++f)
        if (!state_->fileTicked[f]) files[f].ticked.assign(files[f].changes.size(), false);
    return files;
}

}  // namespace lodestar
