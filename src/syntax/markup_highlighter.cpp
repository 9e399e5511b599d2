// The highlighter writes its HTML in one sweep: each rule's element tag goes straight into the
// output on the side of the character that triggers it, and the character is escaped as it is
// copied. This gives the same fragment as recording bracket markers first and converting them
// afterwards, without any whole-text replacement, and it keeps every character of the text
// (brackets and "%{" included) exactly as it was.
#include "syntax/markup_highlighter.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace lodestar {
namespace {

using namespace std::literals;

// Characters that a rule looks at or that must be escaped; all others are copied in runs.
constexpr std::array<bool, 128> kSpecial = [] {
    std::array<bool, 128> table{};
    for (char c : {'<', '>', '&', '"', '\'', ' ', '='}) table[static_cast<unsigned char>(c)] = true;
    return table;
}();

bool isSpecial(char16_t c) {
    return c < 128 && kSpecial[c];
}

bool isMatchMark(char16_t c) {
    return c == kMatchStartMark || c == kMatchEndMark;
}

// The position of the first character at or after `from` that is not a match mark.
std::size_t skipMatchMarks(std::u16string_view text, std::size_t from) {
    while (from < text.size() && isMatchMark(text[from])) ++from;
    return from;
}

// True when the characters after the "<" at `lt` (match marks aside) begin with `expected`.
// Positions beyond the end of the text never match.
bool followedBy(std::u16string_view text, std::size_t lt, std::u16string_view expected) {
    std::size_t p = lt + 1;
    for (char16_t want : expected) {
        p = skipMatchMarks(text, p);
        if (p >= text.size() || text[p] != want) return false;
        ++p;
    }
    return true;
}

struct Flags {
    bool inTag = false;
    bool inComment = false;
    bool tagName = false;
    bool attributeName = false;
    bool quotedValue = false;
};

void handleTagStart(std::u16string_view text, std::size_t p, Flags& f, std::u16string& out) {
    if (followedBy(text, p, u"!--")) {
        f.inComment = true;
        out += u"<s>&lt;"sv;
        return;
    }
    f.inTag = true;
    out += u"&lt;"sv;
    if (!followedBy(text, p, u"!")) {
        f.tagName = true;
        out += u"<b>"sv;
    }
}

void handleTagEnd(Flags& f, std::u16string& out) {
    const bool closesComment = f.inComment;
    if (f.inComment) {
        f.inComment = false;
    } else {
        f.inTag = false;
    }
    if (f.quotedValue) {
        f.quotedValue = false;
        out += u"</u>"sv;
    }
    if (f.attributeName) {
        f.attributeName = false;
        out += u"</i>"sv;
    }
    if (f.tagName) {
        f.tagName = false;
        out += u"</b>"sv;
    }
    out += u"&gt;"sv;
    if (closesComment) out += u"</s>"sv;
}

void handleQuote(char16_t quote, Flags& f, std::u16string& out) {
    if (!f.inTag) {
        out += quote;
    } else if (f.quotedValue) {  // either kind of quote closes the value
        f.quotedValue = false;
        out += u"</u>"sv;
        out += quote;
    } else {
        f.quotedValue = true;
        out += quote;
        out += u"<u>"sv;
    }
}

// Only the space character (code 32) separates names; tabs and line breaks do not.
void handleSpace(Flags& f, std::u16string& out) {
    if (!f.inTag || f.quotedValue) {
        out += u' ';
    } else if (f.tagName) {  // the space before the first attribute belongs to its italic run
        f.tagName = false;
        f.attributeName = true;
        out += u"</b><i> "sv;
    } else if (f.attributeName) {
        f.attributeName = false;
        out += u"</i> "sv;
    } else {
        f.attributeName = true;
        out += u" <i>"sv;
    }
}

void handleEquals(Flags& f, std::u16string& out) {
    if (f.inTag && !f.quotedValue && f.attributeName) {
        f.attributeName = false;
        out += u"</i>"sv;
    }
    out += u'=';
}

}  // namespace

std::u16string markedSyntax(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size() + text.size() / 2 + 16);
    Flags flags;
    std::size_t runStart = 0;
    for (std::size_t p = 0; p < text.size(); ++p) {
        const char16_t c = text[p];
        if (!isSpecial(c)) continue;
        out.append(text.substr(runStart, p - runStart));
        runStart = p + 1;
        switch (c) {
            case u'<':
                handleTagStart(text, p, flags, out);
                break;
            case u'>':
                handleTagEnd(flags, out);
                break;
            case u'"':
            case u'\'':
                handleQuote(c, flags, out);
                break;
            case u' ':
                handleSpace(flags, out);
                break;
            case u'=':
                handleEquals(flags, out);
                break;
            default:  // '&'
                out += u"&amp;"sv;
                break;
        }
    }
    out.append(text.substr(runStart));
    return out;
}

void markSyntax(std::u16string& text) {
    if (text.empty()) return;
    text = markedSyntax(text);
}

}  // namespace lodestar
