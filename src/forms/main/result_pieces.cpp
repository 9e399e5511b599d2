// Outlines and pieces of the source view's body and of the match list.
#include "forms/main/result_pieces.h"

#include <algorithm>

#include "search/match_list.h"
#include "search/source_body.h"

namespace lodestar {

PieceOutline SourcePieceDocument::outline(std::size_t piece) const {
    const SourcePiece& p = pieces_.pieces[piece];
    return {p.lines, p.characters, p.firstMark};
}

std::size_t MatchListPieceDocument::pieceCount() const {
    return (values_.size() + kEntriesPerPiece - 1) / kEntriesPerPiece;
}

PieceOutline MatchListPieceDocument::outline(std::size_t piece) const {
    const std::size_t from = piece * kEntriesPerPiece;
    const std::size_t to = std::min(values_.size(), from + kEntriesPerPiece);
    std::size_t characters = 0;
    for (std::size_t k = from; k < to; ++k) characters += values_[k].size();
    return {to - from, characters, from};
}

std::u16string MatchListPieceDocument::html(std::size_t piece) const {
    const std::size_t from = piece * kEntriesPerPiece;
    return matchListPiece(values_, from, from + kEntriesPerPiece);
}

RenderedBody prepareBody(std::u16string_view text, const std::vector<MatchSpan>& spans,
                         bool showInvisible) {
    std::u16string body = renderSourceBody(text, spans, showInvisible);
    if (fitsLoadedPage(body)) return {wrapShortBody(body), nullptr};
    return {u"", std::make_shared<SourcePieceDocument>(splitSourceBody(body))};
}

}  // namespace lodestar
