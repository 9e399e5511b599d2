// The two long documents of a search result as piece documents: the source view's body and the
// match list. Both keep only the text and the matches' positions (shared with the window, never
// copied) and build a piece's HTML when the page asks for it.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "forms/model/piece_document.h"
#include "render/source_pieces.h"
#include "search/match_positions.h"
#include "search/regexp.h"

namespace lodestar {

using SharedSpans = std::shared_ptr<const std::vector<MatchSpan>>;
using SharedString = std::shared_ptr<const std::u16string>;

class SourcePieceDocument : public PieceDocument {
  public:
    SourcePieceDocument(SharedString text, SharedSpans spans, bool showInvisible);
    // The same text with other matches: the layout of `shown` is kept, its marks counted anew.
    SourcePieceDocument(const SourcePieceDocument& shown, SharedSpans spans);
    bool shows(const SharedString& text, bool showInvisible) const {
        return text_ == text && layout_.showsInvisible() == showInvisible;
    }
    std::size_t pieceCount() const override { return layout_.pieceCount(); }
    PieceOutline outline(std::size_t piece) const override;
    std::u16string html(std::size_t piece) const override;
    std::size_t itemCount() const override { return layout_.markCount(); }

  private:
    SharedString text_;
    SharedSpans spans_;
    SourceLayout layout_;
};

class MatchListPieceDocument : public PieceDocument {
  public:
    static constexpr std::size_t kEntriesPerPiece = 200;
    // Finds every match's line and column: one sweep over the text, so it belongs on the worker.
    MatchListPieceDocument(SharedString text, SharedSpans spans);
    std::size_t pieceCount() const override;
    PieceOutline outline(std::size_t piece) const override;
    std::u16string html(std::size_t piece) const override;
    std::size_t itemCount() const override { return spans_->size(); }

  private:
    SharedString text_;
    SharedSpans spans_;
    std::vector<TextPosition> positions_;
};

// The whole match list of a short result, its entries as the pieces have them.
std::u16string matchListHtml(std::u16string_view text, const std::vector<MatchSpan>& spans);

// The source view's body for a text and its matches: short enough for the loaded page, or in
// pieces. Pure, so it may run on a worker thread.
struct RenderedBody {
    std::u16string inlineBody;  // "<pre id=code>...</pre>" when it fits the loaded page
    std::shared_ptr<const SourcePieceDocument> pieces;
};
// `shown`, the document the source view shows now (or null), lends its layout when it shows the
// same text the same way, so a search costs no second sweep over the text.
RenderedBody prepareBody(const SharedString& text, const SharedSpans& spans, bool showInvisible,
                         const std::shared_ptr<const SourcePieceDocument>& shown = nullptr);

}  // namespace lodestar
