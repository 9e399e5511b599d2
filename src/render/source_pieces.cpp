// The source view's layout in pieces and the rendering of one piece.
#include "render/source_pieces.h"

#include <algorithm>

#include "render/invisible_marks.h"
#include "render/source_body.h"

namespace lodestar {
namespace {

// The highlighter looks at most this far past a "<" ("!--"), match marks aside.
constexpr std::size_t kLookahead = 4;

bool isHighSurrogate(char16_t c) {
    return c >= 0xD800 && c < 0xDC00;
}

// Where the pieces start: after the line break that completes `maxLines` lines, or inside a line
// once the piece holds `maxCharacters` characters.
std::vector<SourcePieceStart> cutPieces(std::u16string_view text, std::size_t maxLines,
                                        std::size_t maxCharacters) {
    std::vector<SourcePieceStart> starts(1);
    maxLines = std::max<std::size_t>(maxLines, 1);
    maxCharacters = std::max<std::size_t>(maxCharacters, 2);
    std::size_t p = 0;
    auto close = [&](std::size_t end, bool lineOpen) {
        SourcePieceStart& piece = starts.back();
        piece.characters = end - piece.offset;
        if (lineOpen) ++piece.lines;
    };
    while (p < text.size()) {
        SourcePieceStart& piece = starts.back();
        const std::size_t room = maxCharacters - (p - piece.offset);
        const std::size_t lineBreak = text.find(u'\n', p);
        const std::size_t lineEnd =
            lineBreak == std::u16string_view::npos ? text.size() : lineBreak + 1;
        if (lineEnd - p > room && p + room < text.size()) {
            std::size_t cut = p + room;
            if (isHighSurrogate(text[cut - 1])) --cut;
            if (cut == piece.offset) cut += 2;  // a piece holds at least one character
            close(cut, true);
            starts.push_back({cut, 0, 0, 0, {}});
            p = cut;
            continue;
        }
        p = lineEnd;
        if (lineBreak != std::u16string_view::npos) ++piece.lines;
        if (piece.lines >= maxLines && p < text.size()) {
            close(p, false);
            starts.push_back({p, 0, 0, 0, {}});
        }
    }
    close(text.size(), !text.empty() && text.back() != u'\n');
    return starts;
}

// The piece's text as the highlighter sees it, and where it ends before the few characters
// after it that the highlighter looks ahead at.
struct ShownPart {
    std::u16string text;
    std::size_t end = 0;
};
void appendLookahead(std::u16string_view text, std::size_t from, ShownPart& part) {
    part.end = part.text.size();
    appendWithMatchMarks(text, from, std::min(text.size(), from + kLookahead), part.text);
}

}  // namespace

SourceLayout::SourceLayout(std::u16string_view text, const std::vector<MatchSpan>& spans,
                           bool showInvisible, std::size_t maxLines, std::size_t maxCharacters)
    : textSize_(text.size()), markCount_(spans.size()), showInvisible_(showInvisible) {
    checkSpans(text.size(), spans);
    starts_ = cutPieces(text, maxLines, maxCharacters);
    countMarks(spans);
    HighlightState state;
    for (std::size_t k = 0; k < starts_.size(); ++k) {
        SourcePieceStart& piece = starts_[k];
        piece.state = state;
        const std::size_t end = k + 1 < starts_.size() ? starts_[k + 1].offset : text.size();
        advanceSyntax(text, piece.offset, end, state);
    }
}

void SourceLayout::countMarks(const std::vector<MatchSpan>& spans) {
    std::size_t mark = 0;
    for (SourcePieceStart& piece : starts_) {
        while (mark < spans.size() && spans[mark].index < piece.offset) ++mark;
        piece.firstMark = mark;
    }
    markCount_ = spans.size();
}

SourceLayout SourceLayout::withMarks(const std::vector<MatchSpan>& spans) const {
    checkSpans(textSize_, spans);
    SourceLayout layout(*this);
    layout.countMarks(spans);
    return layout;
}

std::u16string SourceLayout::pieceHtml(std::u16string_view text,
                                       const std::vector<MatchSpan>& spans, std::size_t k) const {
    const SourcePieceStart& piece = starts_.at(k);
    const std::size_t from = piece.offset;
    const bool last = k + 1 == starts_.size();
    const std::size_t to = last ? textSize_ : starts_[k + 1].offset;
    std::size_t mark = piece.firstMark;
    const bool inMatch = mark > 0 && spans[mark - 1].index + spans[mark - 1].length > from;

    // The piece's text with the match marks of the matches in it; a match that started before
    // it is already open, one that goes on past it stays open.
    ShownPart part;
    std::size_t copied = from;
    auto markUpTo = [&](const MatchSpan& span) {
        const std::size_t end = span.index + span.length;
        appendWithMatchMarks(text, copied, std::min(end, to), part.text);
        if (end <= to) part.text += kMatchEndMark;
        copied = std::min(end, to);
    };
    if (inMatch) markUpTo(spans[mark - 1]);
    for (std::size_t m = mark; m < spans.size(); ++m) {
        const MatchSpan& span = spans[m];
        if (span.index > to || (span.index == to && !last)) break;
        appendWithMatchMarks(text, copied, span.index, part.text);
        part.text += kMatchStartMark;
        copied = span.index;
        markUpTo(span);
    }
    appendWithMatchMarks(text, copied, to, part.text);
    appendLookahead(text, to, part);

    // Invisible characters are marked in the highlighted fragment, as in the whole body.
    HighlightState state = piece.state;
    std::u16string highlighted;
    highlighted.reserve(part.text.size() * 2);
    markSyntaxPart(part.text, 0, part.end, state, highlighted);
    if (showInvisible_) highlighted = toInvisibleMarks(highlighted);
    std::u16string html;
    html.reserve(highlighted.size() + highlighted.size() / 8);
    MatchElementWriter marks(true, mark, piece.state.open);
    marks.begin(inMatch, html);
    marks.write(highlighted, html);
    marks.end(html);
    return html;
}

}  // namespace lodestar
