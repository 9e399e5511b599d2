// Rendering the source view's body. Matches travel through the highlighter as two reserved
// noncharacters (which no Windows-1252 file can hold), so nothing in the text itself can be
// taken for a match boundary.
//
// The highlighter's elements (b, i, u, s) do not nest with the matches: a match may start in an
// attribute name and end in its value. A browser parsing "<i>a<em>b</i>c</em>" closes the em at
// "</i>" and opens a second em for "c", so one match would become two marks. Closing the open
// highlight elements around every em tag and reopening them inside keeps each em whole.
#include "render/source_body.h"

#include "core/text.h"
#include "render/invisible_marks.h"

namespace lodestar {
namespace {

bool isMatchMark(char16_t c) {
    return c == kMatchStartMark || c == kMatchEndMark;
}

void writeCloses(const OpenHighlights& open, std::u16string& out) {
    for (std::size_t k = kHighlightElements.size(); k-- > 0;) {
        for (int n = 0; n < open[k]; ++n) {
            out += u"</";
            out += kHighlightElements[k];
            out += u'>';
        }
    }
}

void writeOpens(const OpenHighlights& open, std::u16string& out) {
    for (std::size_t k = 0; k < kHighlightElements.size(); ++k) {
        for (int n = 0; n < open[k]; ++n) {
            out += u'<';
            out += kHighlightElements[k];
            out += u'>';
        }
    }
}

// Counted as a page parser counts them: a start tag opens one element, an end tag closes one
// if any is open and is ignored otherwise.
void applyTag(OpenHighlights& open, char16_t kind, bool closing) {
    for (std::size_t k = 0; k < kHighlightElements.size(); ++k) {
        if (kHighlightElements[k] != kind) continue;
        if (!closing)
            ++open[k];
        else if (open[k] > 0)
            --open[k];
        return;
    }
}

}  // namespace

void appendWithMatchMarks(std::u16string_view text, std::size_t from, std::size_t to,
                          std::u16string& out) {
    for (std::size_t p = from; p < to;) {
        std::size_t q = p;
        while (q < to && !isMatchMark(text[q])) ++q;
        out.append(text.substr(p, q - p));
        p = q + 1;
    }
}

// Every "<" of highlighted HTML starts one of the highlighter's own tags ("<b>", "</i>", ...):
// the text's "<" is escaped.
void MatchElementWriter::write(std::u16string_view html, std::u16string& out) {
    std::size_t runStart = 0;
    for (std::size_t p = 0; p < html.size(); ++p) {
        const char16_t c = html[p];
        if (c == u'<') {
            const bool closing = p + 1 < html.size() && html[p + 1] == u'/';
            const std::size_t name = p + (closing ? 2 : 1);
            if (name < html.size()) applyTag(open_, html[name], closing);
            continue;
        }
        if (!isMatchMark(c)) continue;
        out.append(html.substr(runStart, p - runStart));
        runStart = p + 1;
        writeCloses(open_, out);
        if (c == kMatchEndMark) {
            out += u"</em>";
            inMatch_ = false;
        } else {
            if (nextMark_ == 0) out += u"<a id='1'></a>";
            out += markStart(nextMark_++);
            inMatch_ = true;
        }
        writeOpens(open_, out);
    }
    out.append(html.substr(runStart));
}

void MatchElementWriter::begin(bool inMatch, std::u16string& out) {
    inMatch_ = inMatch;
    if (inMatch_) out += markStart(nextMark_ - 1);
    writeOpens(open_, out);
}

void MatchElementWriter::end(std::u16string& out) const {
    writeCloses(open_, out);
    if (inMatch_) out += u"</em>";
}

std::u16string MatchElementWriter::markStart(std::size_t mark) const {
    if (!numbered_) return u"<em>";
    return u"<em data-k=" + decimal(static_cast<long long>(mark)) + u">";
}

void checkSpans(std::size_t textSize, const std::vector<MatchSpan>& spans) {
    std::size_t after = 0;
    for (const MatchSpan& span : spans) {
        if (span.index < after || span.index > textSize || span.length > textSize - span.index)
            throw RenderError("Match positions lie outside the text or overlap.");
        after = span.index + span.length;
    }
}

std::u16string renderSourceBody(std::u16string_view text, const std::vector<MatchSpan>& spans,
                                bool showInvisible) {
    checkSpans(text.size(), spans);
    // The text with kMatchStartMark before and kMatchEndMark after each match; any such
    // character already in the text is dropped.
    std::u16string marked;
    marked.reserve(text.size() + 2 * spans.size());
    std::size_t copied = 0;
    for (const MatchSpan& span : spans) {
        appendWithMatchMarks(text, copied, span.index, marked);
        marked += kMatchStartMark;
        appendWithMatchMarks(text, span.index, span.index + span.length, marked);
        marked += kMatchEndMark;
        copied = span.index + span.length;
    }
    appendWithMatchMarks(text, copied, text.size(), marked);
    // The highlighter reads the text itself; the marks for invisible characters go into its
    // fragment afterwards, so a space shown as a dot still separates attribute names. Its own
    // tags hold no space, tab or line break, so only the text's characters are marked.
    std::u16string highlighted = markedSyntax(marked);
    if (showInvisible) highlighted = toInvisibleMarks(highlighted);
    std::u16string out;
    out.reserve(highlighted.size() + highlighted.size() / 8);
    MatchElementWriter(false, 0, {}).write(highlighted, out);
    return out;
}

std::u16string wrapShortBody(std::u16string_view body) {
    std::u16string page = u"<pre id=code>";
    page += body;
    page += u"</pre>";
    return page;
}

}  // namespace lodestar
