// Outlines and pieces of the source view's body and of the match list.
#include "forms/file/result_pieces.h"

#include <algorithm>

#include "render/match_list.h"
#include "render/source_body.h"

namespace lodestar {

SourcePieceDocument::SourcePieceDocument(SharedString text, SharedSpans spans, bool showInvisible)
    : text_(std::move(text)), spans_(std::move(spans)), layout_(*text_, *spans_, showInvisible) {}

SourcePieceDocument::SourcePieceDocument(const SourcePieceDocument& shown, SharedSpans spans)
    : text_(shown.text_), spans_(std::move(spans)), layout_(shown.layout_.withMarks(*spans_)) {}

PieceOutline SourcePieceDocument::outline(std::size_t piece) const {
    const SourcePieceStart& p = layout_.piece(piece);
    return {p.lines, p.characters, p.firstMark};
}

std::u16string SourcePieceDocument::html(std::size_t piece) const {
    return layout_.pieceHtml(*text_, *spans_, piece);
}

MatchListPieceDocument::MatchListPieceDocument(SharedString text, SharedSpans spans)
    : text_(std::move(text)),
      spans_(std::move(spans)),
      positions_(matchPositions(*text_, *spans_)) {}

std::size_t MatchListPieceDocument::pieceCount() const {
    return (spans_->size() + kEntriesPerPiece - 1) / kEntriesPerPiece;
}

PieceOutline MatchListPieceDocument::outline(std::size_t piece) const {
    const std::size_t from = piece * kEntriesPerPiece;
    const std::size_t to = std::min(spans_->size(), from + kEntriesPerPiece);
    std::size_t characters = 0;
    for (std::size_t k = from; k < to; ++k) characters += (*spans_)[k].length;
    return {to - from, characters, from};
}

std::u16string MatchListPieceDocument::html(std::size_t piece) const {
    const std::size_t from = piece * kEntriesPerPiece;
    return matchListEntries(*text_, *spans_, positions_, from, from + kEntriesPerPiece);
}

std::u16string matchListHtml(std::u16string_view text, const std::vector<MatchSpan>& spans) {
    return matchListEntries(text, spans, matchPositions(text, spans), 0, spans.size());
}

RenderedBody prepareBody(const SharedString& text, const SharedSpans& spans, bool showInvisible,
                         const std::shared_ptr<const SourcePieceDocument>& shown) {
    if (shown && shown->shows(text, showInvisible))
        return {u"", std::make_shared<SourcePieceDocument>(*shown, spans)};
    if (text->size() <= kMaxInlineBody) {
        std::u16string body = renderSourceBody(*text, *spans, showInvisible);
        if (fitsLoadedPage(body)) return {wrapShortBody(body), nullptr};
    }
    return {u"", std::make_shared<SourcePieceDocument>(text, spans, showInvisible)};
}

}  // namespace lodestar
