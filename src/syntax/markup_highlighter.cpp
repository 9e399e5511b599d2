// The highlighter writes its HTML in one sweep: each rule's element tag goes straight into the
// output on the side of the character that triggers it, and the character is escaped as it is
// copied. This gives the same fragment as recording bracket markers first and converting them
// afterwards, without any whole-text replacement, and it keeps every character of the text
// (brackets and "%{" included) exactly as it was.
#include "syntax/markup_highlighter.h"

#include <algorithm>
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

// The HTML goes to a writer that counts the elements it opens and closes; the counting writer
// of advanceSyntax drops the text itself.
template <bool kWrites>
class Writer {
  public:
    Writer(HighlightState& state, std::u16string* out) : state_(state), out_(out) {}
    // A run of the text's own characters, none of them special.
    void text(std::u16string_view run) {
        if constexpr (kWrites) out_->append(run);
    }
    void character(char16_t c) {
        if constexpr (kWrites) *out_ += c;
    }
    // Markup: references and the highlighter's tags.
    void markup(std::u16string_view html) {
        for (std::size_t p = html.find(u'<'); p != std::u16string_view::npos;
             p = html.find(u'<', p + 1)) {
            const bool closing = html[p + 1] == u'/';
            int& count = state_.open[slot(html[p + (closing ? 2 : 1)])];
            if (!closing)
                ++count;
            else if (count > 0)
                --count;
        }
        if constexpr (kWrites) out_->append(html);
    }

  private:
    static std::size_t slot(char16_t kind) {
        for (std::size_t k = 0; k < kHighlightElements.size(); ++k)
            if (kHighlightElements[k] == kind) return k;
        return 0;  // the highlighter writes no other element
    }
    HighlightState& state_;
    std::u16string* out_;
};

// A "<" opens a tag or a comment only before a letter, "/", "!" or "?" (match marks aside), so
// the "<" of "5 < 6" or "x<3" stays text.
bool opensMarkup(std::u16string_view text, std::size_t lt) {
    const std::size_t p = skipMatchMarks(text, lt + 1);
    if (p >= text.size()) return false;
    const char16_t c = text[p];
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'/' || c == u'!' ||
           c == u'?';
}

template <typename Out>
void handleTagStart(std::u16string_view text, std::size_t p, HighlightState& f, Out& out) {
    if (!opensMarkup(text, p)) {
        out.markup(u"&lt;"sv);
        return;
    }
    if (followedBy(text, p, u"!--")) {
        f.inComment = true;
        out.markup(u"<s>&lt;"sv);
        return;
    }
    f.inTag = true;
    out.markup(u"&lt;"sv);
    if (!followedBy(text, p, u"!")) {
        f.tagName = true;
        out.markup(u"<b>"sv);
    }
}

template <typename Out>
void handleTagEnd(HighlightState& f, Out& out) {
    const bool closesComment = f.inComment;
    if (f.inComment) {
        f.inComment = false;
    } else {
        f.inTag = false;
    }
    if (f.quotedValue) {
        f.quotedValue = false;
        out.markup(u"</u>"sv);
    }
    if (f.attributeName) {
        f.attributeName = false;
        out.markup(u"</i>"sv);
    }
    if (f.tagName) {
        f.tagName = false;
        out.markup(u"</b>"sv);
    }
    out.markup(u"&gt;"sv);
    if (closesComment) out.markup(u"</s>"sv);
}

template <typename Out>
void handleQuote(char16_t quote, HighlightState& f, Out& out) {
    if (!f.inTag) {
        out.character(quote);
    } else if (f.quotedValue) {  // either kind of quote closes the value
        f.quotedValue = false;
        out.markup(u"</u>"sv);
        out.character(quote);
    } else {
        f.quotedValue = true;
        out.character(quote);
        out.markup(u"<u>"sv);
    }
}

// Only the space character (code 32) separates names; tabs and line breaks do not.
template <typename Out>
void handleSpace(HighlightState& f, Out& out) {
    if (!f.inTag || f.quotedValue) {
        out.character(u' ');
    } else if (f.tagName) {  // the space before the first attribute belongs to its italic run
        f.tagName = false;
        f.attributeName = true;
        out.markup(u"</b><i> "sv);
    } else if (f.attributeName) {
        f.attributeName = false;
        out.markup(u"</i> "sv);
    } else {
        f.attributeName = true;
        out.markup(u" <i>"sv);
    }
}

template <typename Out>
void handleEquals(HighlightState& f, Out& out) {
    if (f.inTag && !f.quotedValue && f.attributeName) {
        f.attributeName = false;
        out.markup(u"</i>"sv);
    }
    out.character(u'=');
}

template <typename Out>
void sweep(std::u16string_view text, std::size_t from, std::size_t to, HighlightState& flags,
           Out& out) {
    std::size_t runStart = from;
    for (std::size_t p = from; p < to; ++p) {
        const char16_t c = text[p];
        if (!isSpecial(c)) continue;
        out.text(text.substr(runStart, p - runStart));
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
                out.markup(u"&amp;"sv);
                break;
        }
    }
    out.text(text.substr(runStart, to - runStart));
}

}  // namespace

std::u16string markedSyntax(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size() + text.size() / 2 + 16);
    HighlightState state;
    markSyntaxPart(text, 0, text.size(), state, out);
    return out;
}

void markSyntaxPart(std::u16string_view text, std::size_t from, std::size_t to,
                    HighlightState& state, std::u16string& out) {
    Writer<true> writer(state, &out);
    sweep(text, from, std::min(to, text.size()), state, writer);
}

void advanceSyntax(std::u16string_view text, std::size_t from, std::size_t to,
                   HighlightState& state) {
    Writer<false> writer(state, nullptr);
    sweep(text, from, std::min(to, text.size()), state, writer);
}

void markSyntax(std::u16string& text) {
    if (text.empty()) return;
    text = markedSyntax(text);
}

}  // namespace lodestar
