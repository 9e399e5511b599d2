// Escaping text for markup.
#include "core/markup_escape.h"

namespace lodestar {

std::u16string escapeMarkup(std::u16string_view text, const MarkupEscape& what) {
    std::u16string out;
    out.reserve(text.size());
    for (const char16_t c : text) {
        if (c == u'&')
            out += u"&amp;";
        else if (c == u'<')
            out += u"&lt;";
        else if (c == u'>')
            out += u"&gt;";
        else if (c == u'"' && what.quotes)
            out += u"&quot;";
        else if (c == u'\'' && what.apostrophes)
            out += u"&#39;";
        else if (c == u' ' && what.spaces)
            out += u"&nbsp;";
        else
            out += c;
    }
    return out;
}

}  // namespace lodestar
