// One sweep does the four substitutions: none of them produces a character that a later one
// would change again, so per-character replacement gives the same text.
#include "render/invisible_marks.h"

namespace lodestar {

std::u16string toInvisibleMarks(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size() + text.size() / 8);
    for (char16_t c : text) {
        switch (c) {
            case u'\r':
                out += u'\u2193';
                break;
            case u'\n':
                out += u"\u300F\n";
                break;
            case u' ':
                out += u'\u00B7';
                break;
            case u'\t':
                out += u"______ ";
                break;
            default:
                out += c;
                break;
        }
    }
    return out;
}

}  // namespace lodestar
