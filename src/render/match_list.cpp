// Building the match list fragment.
#include "render/match_list.h"

#include "core/markup_escape.h"
#include "core/text.h"

namespace lodestar {

namespace {

// Runs of spaces show as typed; quotes, tabs and line breaks stay as they are.
std::u16string valueHtml(std::u16string_view text) {
    return escapeMarkup(text, {false, false, true});
}

}  // namespace

std::u16string matchListFragment(const std::vector<std::u16string>& values) {
    std::u16string fragment;
    for (std::size_t k = 0; k < values.size(); ++k) {
        fragment += u"<li onclick=setValue(";
        fragment += decimal(static_cast<long long>(k + 1));
        fragment += u")>";
        fragment += valueHtml(values[k]);
    }
    fragment += u"</ol><input id='idx' value=0 type=hidden>";
    return fragment;
}

std::u16string matchListPiece(std::u16string_view text, const std::vector<MatchSpan>& spans,
                              std::size_t from, std::size_t to) {
    std::u16string piece;
    for (std::size_t k = from; k < to && k < spans.size(); ++k) {
        const std::u16string number = decimal(static_cast<long long>(k + 1));
        piece += u"<li data-k=" + decimal(static_cast<long long>(k)) + u" value=" + number +
                 u" onclick=setValue(" + number + u")>";
        piece += valueHtml(text.substr(spans[k].index, spans[k].length));
        piece += u"</li>";
    }
    return piece;
}

}  // namespace lodestar
