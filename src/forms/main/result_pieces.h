// The two long documents of a search result as piece documents: the source view's rendered
// body, and the match list built a piece at a time from the match values.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "forms/model/piece_document.h"
#include "search/regexp.h"
#include "search/source_pieces.h"

namespace lodestar {

class SourcePieceDocument : public PieceDocument {
  public:
    explicit SourcePieceDocument(SourcePieces pieces) : pieces_(std::move(pieces)) {}
    std::size_t pieceCount() const override { return pieces_.pieces.size(); }
    PieceOutline outline(std::size_t piece) const override;
    std::u16string html(std::size_t piece) const override { return pieces_.pieces[piece].html; }
    std::size_t itemCount() const override { return pieces_.markCount; }

  private:
    SourcePieces pieces_;
};

class MatchListPieceDocument : public PieceDocument {
  public:
    static constexpr std::size_t kEntriesPerPiece = 200;
    explicit MatchListPieceDocument(std::vector<std::u16string> values)
        : values_(std::move(values)) {}
    std::size_t pieceCount() const override;
    PieceOutline outline(std::size_t piece) const override;
    std::u16string html(std::size_t piece) const override;
    std::size_t itemCount() const override { return values_.size(); }

  private:
    std::vector<std::u16string> values_;
};

// The source view's body for a text and its matches: short enough for the loaded page, or in
// pieces. Pure, so it may run on a worker thread.
struct RenderedBody {
    std::u16string inlineBody;  // "<pre id=code>...</pre>" when it fits the loaded page
    std::shared_ptr<const PieceDocument> pieces;
};
RenderedBody prepareBody(std::u16string_view text, const std::vector<MatchSpan>& spans,
                         bool showInvisible);

}  // namespace lodestar
