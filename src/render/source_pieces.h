// A long text shown in the source view a piece at a time. The layout is made once, in one cheap
// sweep: where each piece starts, its size, the matches before it and the highlighter's state
// there. A piece's HTML is rendered only when the page asks for it, from that state, so a text
// of any length costs its layout and the pieces in view, never a whole rendered body.
//
// Each piece is well-formed on its own: highlight elements and a match open at a cut are closed
// at the end of the piece and opened again at the start of the next, so a match that crosses a
// cut shows as two `em` elements. Every `em` carries the number of its match (0-based) in the
// attribute data-k, so both halves of a split match are found as the same mark. Shown one after
// the other, the pieces show what renderSourceBody shows for the whole text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "search/regexp.h"
#include "syntax/markup_highlighter.h"

namespace lodestar {

struct SourcePieceStart {
    std::size_t offset = 0;      // where the piece starts in the text
    std::size_t lines = 0;       // line breaks in the piece, plus one for an unfinished last line
    std::size_t characters = 0;  // characters of the text in the piece, a size hint
    std::size_t firstMark = 0;   // matches that start before this piece
    HighlightState state;        // the highlighter where the piece starts
};

class SourceLayout {
  public:
    // Cuts after a line break once a piece holds `maxLines` lines, and inside a very long line
    // once it holds `maxCharacters` characters (never between the halves of a surrogate pair).
    // The spans are the matches' positions, as renderSourceBody takes them (RenderError when
    // they are not).
    SourceLayout(std::u16string_view text, const std::vector<MatchSpan>& spans, bool showInvisible,
                 std::size_t maxLines = 50, std::size_t maxCharacters = 16384);

    // The same cuts and highlighter states with other matches in the same text: only the
    // matches before each piece are counted again.
    SourceLayout withMarks(const std::vector<MatchSpan>& spans) const;
    bool showsInvisible() const { return showInvisible_; }

    std::size_t pieceCount() const { return starts_.size(); }
    const SourcePieceStart& piece(std::size_t k) const { return starts_[k]; }
    std::size_t markCount() const { return markCount_; }

    // The HTML of piece k, for the text and spans the layout was made for.
    std::u16string pieceHtml(std::u16string_view text, const std::vector<MatchSpan>& spans,
                             std::size_t k) const;

  private:
    SourceLayout() = default;
    void countMarks(const std::vector<MatchSpan>& spans);

    std::vector<SourcePieceStart> starts_;
    std::size_t textSize_ = 0;
    std::size_t markCount_ = 0;
    bool showInvisible_ = false;
};

}  // namespace lodestar
