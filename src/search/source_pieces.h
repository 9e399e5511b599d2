// A rendered source-view body cut into pieces the source page can show one at a time. Each
// piece is well-formed on its own: highlight elements and a match open at a cut are closed at
// the end of the piece and opened again at the start of the next, so a match that crosses a cut
// shows as two `em` elements. Every `em` carries the number of its match (0-based) in the
// attribute data-k, so both halves of a split match are found as the same mark.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lodestar {

struct SourcePiece {
    std::u16string html;
    std::size_t lines = 0;       // line breaks in the piece, plus one for an unfinished last line
    std::size_t characters = 0;  // characters shown, a size hint for wrapped lines
    std::size_t firstMark = 0;   // matches that start before this piece
};

struct SourcePieces {
    std::vector<SourcePiece> pieces;
    std::size_t markCount = 0;
};

// Cuts after a line break once a piece holds `maxLines` lines, and inside a very long line once
// it holds `maxCharacters` characters (never inside a tag or a character reference). The body
// is what renderSourceBody gives: its only tags are em, the anchor before the first match, and
// the highlighter's b, i, u and s.
SourcePieces splitSourceBody(std::u16string_view body, std::size_t maxLines = 50,
                             std::size_t maxCharacters = 16384);

}  // namespace lodestar
