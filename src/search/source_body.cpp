// Rendering the source view's body. Matches travel through the highlighter as two reserved
// noncharacters (which no Windows-1252 file can hold), so nothing in the text itself can be
// taken for a match boundary.
//
// The highlighter's elements (b, i, u, s) do not nest with the matches: a match may start in an
// attribute name and end in its value. A browser parsing "<i>a<em>b</i>c</em>" closes the em at
// "</i>" and opens a second em for "c", so one match would become two marks. Closing the open
// highlight elements around every em tag and reopening them inside keeps each em whole.
#include "search/source_body.h"

#include <array>

#include "search/invisible_marks.h"
#include "syntax/markup_highlighter.h"

namespace lodestar {
namespace {

bool isMatchMark(char16_t c) {
    return c == kMatchStartMark || c == kMatchEndMark;
}

// The text with kMatchStartMark before and kMatchEndMark after each match; any such character
// already in the text is dropped.
std::u16string withMatchMarks(std::u16string_view text, const std::vector<MatchSpan>& spans) {
    std::u16string out;
    out.reserve(text.size() + 2 * spans.size());
    std::size_t copied = 0;
    auto copyUpTo = [&](std::size_t end) {
        for (; copied < end; ++copied) {
            if (!isMatchMark(text[copied])) out += text[copied];
        }
    };
    for (const MatchSpan& span : spans) {
        if (span.index < copied || span.index > text.size() ||
            span.length > text.size() - span.index) {
            throw RenderError("Match positions lie outside the text or overlap.");
        }
        copyUpTo(span.index);
        out += kMatchStartMark;
        copyUpTo(span.index + span.length);
        out += kMatchEndMark;
    }
    copyUpTo(text.size());
    return out;
}

// The highlight elements in the order they are reopened; they are closed in reverse.
constexpr std::array<char16_t, 4> kRunKinds = {u's', u'b', u'i', u'u'};

// How many elements of each kind are open, counted as a page parser counts them: a start tag
// opens one, an end tag closes one if any is open and is ignored otherwise.
class OpenRuns {
  public:
    void apply(char16_t kind, bool closing) {
        int& count = counts_[slot(kind)];
        if (!closing) {
            ++count;
        } else if (count > 0) {
            --count;
        }
    }
    void writeCloses(std::u16string& out) const {
        for (auto kind = kRunKinds.rbegin(); kind != kRunKinds.rend(); ++kind) {
            for (int k = 0; k < counts_[slot(*kind)]; ++k) {
                out += u"</";
                out += *kind;
                out += u'>';
            }
        }
    }
    void writeOpens(std::u16string& out) const {
        for (char16_t kind : kRunKinds) {
            for (int k = 0; k < counts_[slot(kind)]; ++k) {
                out += u'<';
                out += kind;
                out += u'>';
            }
        }
    }

  private:
    static std::size_t slot(char16_t kind) {
        for (std::size_t k = 0; k < kRunKinds.size(); ++k) {
            if (kRunKinds[k] == kind) return k;
        }
        return 0;  // the highlighter writes no other element
    }
    std::array<int, kRunKinds.size()> counts_{};
};

// Turns the marks of highlighted HTML into em elements. Every "<" of highlighted HTML starts
// one of the highlighter's own tags ("<b>", "</i>", ...): the text's "<" is escaped.
std::u16string withMatchElements(std::u16string_view html) {
    std::u16string out;
    out.reserve(html.size() + html.size() / 16);
    OpenRuns runs;
    bool anchored = false;
    std::size_t runStart = 0;
    for (std::size_t p = 0; p < html.size(); ++p) {
        const char16_t c = html[p];
        if (c == u'<') {
            const bool closing = p + 1 < html.size() && html[p + 1] == u'/';
            const std::size_t name = p + (closing ? 2 : 1);
            if (name < html.size()) runs.apply(html[name], closing);
            continue;
        }
        if (!isMatchMark(c)) continue;
        out.append(html.substr(runStart, p - runStart));
        runStart = p + 1;
        runs.writeCloses(out);
        if (c == kMatchEndMark) {
            out += u"</em>";
        } else {
            if (!anchored) out += u"<a id='1'></a>";
            anchored = true;
            out += u"<em>";
        }
        runs.writeOpens(out);
    }
    out.append(html.substr(runStart));
    return out;
}

}  // namespace

std::u16string renderSourceBody(std::u16string_view text, const std::vector<MatchSpan>& spans,
                                bool showInvisible) {
    std::u16string marked = withMatchMarks(text, spans);
    if (showInvisible) marked = toInvisibleMarks(marked);
    return withMatchElements(markedSyntax(marked));
}

std::u16string wrapShortBody(std::u16string_view body) {
    std::u16string page = u"<pre id=code>";
    page += body;
    page += u"</pre>";
    return page;
}

}  // namespace lodestar
