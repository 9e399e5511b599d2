// The body of the source view: a text highlighted as markup, with each match inside an `em`
// element and an anchor named 1 before the first.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/error.h"
#include "search/regexp.h"

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

// "<pre id=code>" + body + "</pre>": the loaded page's body for a short result.
std::u16string wrapShortBody(std::u16string_view body);

}  // namespace lodestar
