// The body of the source view: a text highlighted as markup, with each match inside an `em`
// element and an anchor named 1 before the first.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "search/regexp.h"
#include "syntax/markup_highlighter.h"

namespace lodestar {

// Match positions that lie outside the text or overlap.
class RenderError : public Error {
  public:
    using Error::Error;
};

// A body of at most this many characters goes straight into the loaded source page; a longer
// one is shown a piece at a time (splitSourceBody).
inline constexpr std::size_t kMaxInlineBody = 64000;

inline bool fitsLoadedPage(std::u16string_view body) {
    return body.size() <= kMaxInlineBody;
}

// The HTML for a text and its matches (positions in code units, in ascending order, not
// overlapping; an empty match is allowed). Steps: mark the match boundaries, show invisible
// characters when asked, highlight the markup, and turn the marks into "<em>" and "</em>", the
// first "<em>" preceded by "<a id='1'></a>". The marks come from the positions only: the text's
// own "[m]" and "[/m]" show as they are. Highlight elements open at a mark are closed just
// before it and reopened just after, so the page keeps each match in one `em` element and the
// k-th `em` of the page is always match k. Throws RenderError for bad positions.
std::u16string renderSourceBody(std::u16string_view text, const std::vector<MatchSpan>& spans,
                                bool showInvisible);

// Throws RenderError unless the spans are in ascending order, do not overlap and lie inside a
// text of this size.
void checkSpans(std::size_t textSize, const std::vector<MatchSpan>& spans);

// Appends text[from, to) without the match-mark characters it may hold.
void appendWithMatchMarks(std::u16string_view text, std::size_t from, std::size_t to,
                          std::u16string& out);

using OpenHighlights = std::array<int, kHighlightElements.size()>;

// Turns the match marks of highlighted HTML into em elements, closing the open highlight
// elements before each em tag and reopening them after it. The first em (mark 0) is preceded by
// the anchor "<a id='1'></a>". Numbered ems carry their mark's number as data-k, so the parts of
// a body rendered a piece at a time find each mark however many pieces it spans.
class MatchElementWriter {
  public:
    // `firstMark`: the number of the next em; `open`: the highlight elements open where the
    // HTML starts.
    MatchElementWriter(bool numbered, std::size_t firstMark, const OpenHighlights& open)
        : numbered_(numbered), nextMark_(firstMark), open_(open) {}
    // Opens the elements open where a piece starts: the match that began before it, if
    // `inMatch`, then the highlight elements.
    void begin(bool inMatch, std::u16string& out);
    void write(std::u16string_view html, std::u16string& out);
    // Closes whatever is still open, so the piece stands on its own.
    void end(std::u16string& out) const;

  private:
    std::u16string markStart(std::size_t mark) const;
    bool numbered_;
    std::size_t nextMark_;
    OpenHighlights open_;
    bool inMatch_ = false;
};

// "<pre id=code>" + body + "</pre>": the loaded page's body for a short result.
std::u16string wrapShortBody(std::u16string_view body);

}  // namespace lodestar
