// Escape decoding in one left-to-right scan. It gives what replacing "\\" by a stand-in, then
// the three escapes, then the stand-in by "\" would give, without a stand-in text that the
// user's own text could contain and have turned into a backslash.
#include "search/escapes.h"

namespace lodestar {

namespace {

char16_t controlFor(char16_t letter) {
    switch (letter) {
        case u'r':
            return u'\r';
        case u'n':
            return u'\n';
        case u't':
            return u'\t';
        default:
            return 0;
    }
}

}  // namespace

std::u16string decodeEscapes(std::u16string_view text, bool escapeSupport) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const char16_t next = i + 1 < text.size() ? text[i + 1] : 0;
        if (c == u'\\' && next == u'\\') {
            out.push_back(u'\\');
            ++i;
        } else if (c == u'\\' && escapeSupport && controlFor(next) != 0) {
            out.push_back(controlFor(next));
            ++i;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

}  // namespace lodestar
