// Readers over pane HTML, enough for the markup this program produces and its page templates.
#include "forms/model/html_text.h"

#include <cctype>

namespace lodestar {

namespace {

char16_t lower(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
}

bool startsWithNoCase(std::u16string_view text, std::size_t at, std::u16string_view word) {
    if (at + word.size() > text.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (lower(text[at + i]) != lower(word[i])) return false;
    return true;
}

std::size_t findNoCase(std::u16string_view text, std::u16string_view word, std::size_t from) {
    for (std::size_t i = from; i + word.size() <= text.size(); ++i)
        if (startsWithNoCase(text, i, word)) return i;
    return std::u16string_view::npos;
}

struct Entity {
    std::u16string_view name;
    char16_t value;
};
constexpr Entity kEntities[] = {{u"nbsp", u'\u00A0'}, {u"amp", u'&'},  {u"lt", u'<'},
                                {u"gt", u'>'},        {u"quot", u'"'}, {u"apos", u'\''}};

void appendCodePoint(std::u16string& out, unsigned long cp) {
    if (cp > 0x10FFFF) cp = 0xFFFD;
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out.push_back(char16_t(0xD800 + (cp >> 10)));
        out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
    } else {
        out.push_back(char16_t(cp));
    }
}

// Decodes the reference starting at text[at] == '&'; answers how many units it used (0: none).
std::size_t decodeReference(std::u16string_view text, std::size_t at, std::u16string& out) {
    std::size_t i = at + 1;
    if (i < text.size() && text[i] == u'#') {
        ++i;
        int base = 10;
        if (i < text.size() && (text[i] == u'x' || text[i] == u'X')) {
            base = 16;
            ++i;
        }
        unsigned long value = 0;
        std::size_t digits = 0;
        while (i < text.size() && text[i] < 128 &&
               (base == 16 ? std::isxdigit(int(text[i])) : std::isdigit(int(text[i])))) {
            int d = std::isdigit(int(text[i])) ? text[i] - u'0' : lower(text[i]) - u'a' + 10;
            if (value < 0x110000) value = value * base + d;
            ++i;
            ++digits;
        }
        if (digits == 0) return 0;
        if (i < text.size() && text[i] == u';') ++i;
        appendCodePoint(out, value);
        return i - at;
    }
    for (const Entity& e : kEntities) {
        if (text.substr(i, e.name.size()) == e.name) {
            std::size_t end = i + e.name.size();
            if (end < text.size() && text[end] == u';') ++end;
            out.push_back(e.value);
            return end - at;
        }
    }
    return 0;
}

}  // namespace

std::u16string innerTextOf(std::u16string_view html) {
    std::u16string out;
    out.reserve(html.size());
    for (std::size_t i = 0; i < html.size();) {
        char16_t c = html[i];
        if (c == u'<') {
            std::size_t close = html.find(u'>', i);
            if (close == std::u16string_view::npos) break;
            i = close + 1;
        } else if (c == u'&') {
            std::size_t used = decodeReference(html, i, out);
            if (used == 0) {
                out.push_back(c);
                ++i;
            } else {
                i += used;
            }
        } else {
            out.push_back(c);
            ++i;
        }
    }
    return out;
}

std::size_t countElements(std::u16string_view html, std::u16string_view tagName) {
    std::size_t count = 0;
    for (std::size_t i = html.find(u'<'); i != std::u16string_view::npos;
         i = html.find(u'<', i + 1)) {
        if (!startsWithNoCase(html, i + 1, tagName)) continue;
        std::size_t after = i + 1 + tagName.size();
        if (after >= html.size()) continue;
        char16_t c = html[after];
        if (c == u'>' || c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'/') ++count;
    }
    return count;
}

std::u16string bodyOf(std::u16string_view page) {
    std::size_t start = findNoCase(page, u"<body", 0);
    if (start == std::u16string_view::npos) return std::u16string(page);
    std::size_t open = page.find(u'>', start);
    if (open == std::u16string_view::npos) return {};
    std::size_t end = findNoCase(page, u"</body>", open + 1);
    if (end == std::u16string_view::npos) end = page.size();
    return std::u16string(page.substr(open + 1, end - open - 1));
}

bool hasElementId(std::u16string_view html, std::u16string_view id) {
    for (std::size_t i = findNoCase(html, u"id=", 0); i != std::u16string_view::npos;
         i = findNoCase(html, u"id=", i + 3)) {
        if (i > 0 && html[i - 1] != u' ' && html[i - 1] != u'\t' && html[i - 1] != u'\n') continue;
        std::size_t v = i + 3;
        if (v < html.size() && (html[v] == u'"' || html[v] == u'\'')) ++v;
        if (html.substr(v, id.size()) != id) continue;
        std::size_t after = v + id.size();
        if (after >= html.size()) return true;
        char16_t c = html[after];
        if (c == u'"' || c == u'\'' || c == u' ' || c == u'>' || c == u'/') return true;
    }
    return false;
}

}  // namespace lodestar
