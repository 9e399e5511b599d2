// Building the match list's entries.
#include "render/match_list.h"

#include <algorithm>

#include "core/markup_escape.h"
#include "core/text.h"

namespace lodestar {

namespace {

// How much of a line the entry shows around its match, and of the match itself, in code units.
constexpr std::size_t kBefore = 32;
constexpr std::size_t kAfter = 64;
constexpr std::size_t kMatchShown = 160;
constexpr char16_t kEllipsis[] = u"\u2026";
constexpr char16_t kLineBreak[] = u"\u21B5";

bool isBreak(char16_t c) {
    return c == u'\n' || c == u'\r';
}
bool isLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// One row of text: line breaks as one mark each ("\r\n" too), runs of spaces kept.
std::u16string rowHtml(std::u16string_view text) {
    std::u16string row;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') continue;
        if (isBreak(text[i])) {
            row += kLineBreak;
        } else {
            row += text[i] == u'\t' ? u' ' : text[i];
        }
    }
    return escapeMarkup(row, {false, false, true});
}

// The line's text before `at`, at most kBefore units, never half a character.
std::u16string beforeHtml(std::u16string_view text, std::size_t at) {
    std::size_t from = at;
    while (from > 0 && at - from < kBefore && !isBreak(text[from - 1])) --from;
    const bool cut = from > 0 && !isBreak(text[from - 1]);
    if (cut && from < at && isLowSurrogate(text[from])) ++from;
    return (cut ? std::u16string(kEllipsis) : u"") + rowHtml(text.substr(from, at - from));
}

// The line's text after `at`, at most kAfter units.
std::u16string afterHtml(std::u16string_view text, std::size_t at) {
    std::size_t to = at;
    while (to < text.size() && to - at < kAfter && !isBreak(text[to])) ++to;
    const bool cut = to < text.size() && !isBreak(text[to]);
    if (cut && to > at && isLowSurrogate(text[to])) --to;
    return rowHtml(text.substr(at, to - at)) + (cut ? kEllipsis : u"");
}

std::u16string valueHtml(std::u16string_view value) {
    if (value.size() <= kMatchShown) return rowHtml(value);
    std::size_t shown = kMatchShown;
    if (isLowSurrogate(value[shown])) --shown;
    return rowHtml(value.substr(0, shown)) + kEllipsis;
}

}  // namespace

std::u16string matchListEntries(std::u16string_view text, const std::vector<MatchSpan>& spans,
                                const std::vector<TextPosition>& positions, std::size_t from,
                                std::size_t to) {
    std::u16string html;
    to = std::min({to, spans.size(), positions.size()});
    for (std::size_t k = from; k < to; ++k) {
        const MatchSpan& m = spans[k];
        const std::size_t at = std::min(m.index, text.size());
        const std::size_t end = std::min(at + m.length, text.size());
        const std::u16string number = decimal(static_cast<long long>(k + 1));
        html += u"<li data-k=" + decimal(static_cast<long long>(k)) + u" onclick=setValue(" +
                number + u")><span class=n>" + number + u"</span><span class=at>" +
                decimal(static_cast<long long>(positions[k].line)) + u":" +
                decimal(static_cast<long long>(positions[k].column)) + u"</span><span class=tx>" +
                beforeHtml(text, at) + u"<em>" + valueHtml(text.substr(at, end - at)) + u"</em>" +
                afterHtml(text, end) + u"</span></li>";
    }
    return html;
}

}  // namespace lodestar
