// The diff of a preview as a long pane document: a heading per file, and per change its tick, its
// line numbers and its lines before and after with the changed part marked. A piece is built only
// when the page asks for it, from the ticks as they are then.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "forms/model/piece_document.h"
#include "forms/preview/change_review.h"

namespace lodestar {

// The ids of the tick links and the heading's count.
std::u16string fileTickId(std::size_t file);
std::u16string changeTickId(std::size_t file, std::size_t change);
std::u16string fileCountId(std::size_t file);
std::u16string tickMark(bool on);
// "3 of 5 changes ticked", or "not ticked" for a file left out.
std::u16string tickedCountText(const ReviewState& state, std::size_t file);

class ReviewPieces : public PieceDocument {
  public:
    static constexpr std::size_t kRowsPerPiece = 40;
    // The lines of each side a change shows; the rest is counted.
    static constexpr std::size_t kShownLines = 40;

    explicit ReviewPieces(std::shared_ptr<const ReviewState> state);
    std::size_t pieceCount() const override { return outlines_.size(); }
    PieceOutline outline(std::size_t piece) const override { return outlines_[piece]; }
    std::u16string html(std::size_t piece) const override;
    std::size_t itemCount() const override { return state_->rows.size(); }

  private:
    std::shared_ptr<const ReviewState> state_;
    std::vector<PieceOutline> outlines_;
};

}  // namespace lodestar
