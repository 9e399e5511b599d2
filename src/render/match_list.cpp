// Building the match list fragment.
#include "render/match_list.h"

#include "core/text.h"

namespace lodestar {

std::u16string htmlEscape(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (char16_t c : text) {
        switch (c) {
            case u'&':
                out += u"&amp;";
                break;
            case u'<':
                out += u"&lt;";
                break;
            case u'>':
                out += u"&gt;";
                break;
            case u' ':
                out += u"&nbsp;";
                break;
            default:
                out += c;
                break;
        }
    }
    return out;
}

std::u16string matchListFragment(const std::vector<std::u16string>& values) {
    std::u16string fragment;
    for (std::size_t k = 0; k < values.size(); ++k) {
        fragment += u"<li onclick=setValue(";
        fragment += decimal(static_cast<long long>(k + 1));
        fragment += u")>";
        fragment += htmlEscape(values[k]);
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
        piece += htmlEscape(text.substr(spans[k].index, spans[k].length));
        piece += u"</li>";
    }
    return piece;
}

}  // namespace lodestar
