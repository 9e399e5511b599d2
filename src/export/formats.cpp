// Building the export files. With no items at all (every file of a folder run unticked) the HTML
// and XML files hold only their frame, never an item that was not found.
#include "export/formats.h"

#include <algorithm>

#include "core/markup_escape.h"
#include "core/text.h"

namespace lodestar {
namespace {

constexpr std::u16string_view kCrLf = u"\r\n";
constexpr char16_t kReplacement = u'\uFFFD';

bool isHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// A character XML 1.0 cannot carry, even as a reference: control characters other than tab, LF
// and CR, and U+FFFE and U+FFFF.
bool outsideXml(char16_t c) {
    return (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || c == 0xFFFE || c == 0xFFFF;
}

// The text with each half of a broken surrogate pair as U+FFFD: all else stays as it is.
std::u16string wholePairsOnly(std::u16string_view text) {
    std::u16string whole(text);
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (isHighSurrogate(whole[i]) && i + 1 < whole.size() && isLowSurrogate(whole[i + 1]))
            ++i;
        else if (isHighSurrogate(whole[i]) || isLowSurrogate(whole[i]))
            whole[i] = kReplacement;
    }
    return whole;
}

// The item as markup character data: "&", "<", ">" and '"' as references, each half of a broken
// surrogate pair (which UTF-8 cannot encode) as U+FFFD, and in XML each character XML cannot
// carry as U+FFFD too.
std::u16string markupText(std::u16string_view item, bool xml) {
    std::u16string text = wholePairsOnly(item);
    if (xml) std::replace_if(text.begin(), text.end(), outsideXml, kReplacement);
    return escapeMarkup(text, {true, false, false});
}

std::vector<std::u16string> markupItems(const std::vector<std::u16string>& items, bool xml) {
    std::vector<std::u16string> escaped;
    escaped.reserve(items.size());
    for (const std::u16string& item : items) escaped.push_back(markupText(item, xml));
    return escaped;
}

// The items, each between head and tail, one per line.
std::u16string wrappedLines(const std::vector<std::u16string>& items, std::u16string_view head,
                            std::u16string_view tail) {
    std::u16string lines;
    for (std::size_t k = 0; k < items.size(); ++k) {
        if (k > 0) lines += kCrLf;
        lines += head;
        lines += items[k];
        lines += tail;
    }
    return lines;
}

// The line followed by CR LF, or nothing when there is no line (no enclosing element).
std::u16string lineOf(std::u16string_view line) {
    if (line.empty()) return {};
    std::u16string text(line);
    text += kCrLf;
    return text;
}

}  // namespace

std::u16string toText(const std::vector<std::u16string>& items, std::u16string_view delimiterText) {
    std::u16string delimiter(delimiterText);
    replaceAll(delimiter, u"\\r", u"\r");
    replaceAll(delimiter, u"\\n", u"\n");
    return wholePairsOnly(joinText(items, delimiter));
}

std::u16string toHTML(const std::vector<std::u16string>& items, std::u16string_view wrapper,
                      int selectedIndex) {
    const std::size_t dots = wrapper.find(u"..");
    if (dots == std::u16string_view::npos) {
        throw ExportFormatError("The HTML wrapper has no \"..\" for the item.");
    }
    const std::u16string body =
        wrappedLines(markupItems(items, false), wrapper.substr(0, dots), wrapper.substr(dots + 2));
    std::u16string_view open, close;
    switch (selectedIndex) {
        case 2:
            open = u"<ol>", close = u"</ol>";
            break;
        case 3:
            open = u"<ul>", close = u"</ul>";
            break;
        case 5:
            open = u"<table>", close = u"</table>";
            break;
        default:
            break;
    }
    // Without items the page keeps its frame (and enclosing element) and lists nothing.
    return lineOf(u"<html><head><meta charset=\"utf-8\"><title></title></head><body>") +
           lineOf(open) + (items.empty() ? std::u16string() : body + std::u16string(kCrLf)) +
           lineOf(close) + u"</body></html>";
}

std::u16string toXML(const std::vector<std::u16string>& items) {
    // A match of "<b>" or "&amp;" is character data, not markup.
    std::u16string xml = lineOf(u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    xml += lineOf(u"<xml><matches>");
    if (!items.empty()) xml += lineOf(wrappedLines(markupItems(items, true), u"<m>", u"</m>"));
    return xml + u"</matches></xml>";
}

std::u16string formatExtraction(ExportType type, const std::vector<std::u16string>& items,
                                std::u16string_view delimiterText, int selectedIndex) {
    switch (type) {
        case ExportType::Html:
            return toHTML(items, delimiterText, selectedIndex);
        case ExportType::Xml:
            return toXML(items);
        case ExportType::Text:
        default:
            return toText(items, delimiterText);
    }
}

std::u16string formatPlacedExtraction(ExportType type, const std::vector<std::u16string>& items,
                                      const std::vector<ItemPlace>& places,
                                      std::u16string_view delimiterText) {
    const bool xml = type == ExportType::Xml;
    std::vector<std::u16string> lines;
    lines.reserve(items.size());
    for (std::size_t k = 0; k < items.size(); ++k) {
        const ItemPlace place = k < places.size() ? places[k] : ItemPlace{};
        const std::u16string line = decimal(static_cast<long long>(place.line));
        const std::u16string column = decimal(static_cast<long long>(place.column));
        switch (type) {
            case ExportType::Html:
                lines.push_back(u"<tr><td>" + markupText(place.file, false) + u"</td><td>" + line +
                                u"</td><td>" + column + u"</td><td>" + markupText(items[k], false) +
                                u"</td></tr>");
                break;
            case ExportType::Xml:
                lines.push_back(u"<m file=\"" + markupText(place.file, true) + u"\" line=\"" +
                                line + u"\" column=\"" + column + u"\">" +
                                markupText(items[k], true) + u"</m>");
                break;
            case ExportType::Text:
            default:
                lines.push_back(place.file + u":" + line + u":" + column + u": " + items[k]);
                break;
        }
    }
    if (type == ExportType::Text) return toText(lines, delimiterText);
    const std::u16string body = lines.empty() ? u"" : lineOf(wrappedLines(lines, u"", u""));
    if (xml)
        return lineOf(u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>") + lineOf(u"<xml><matches>") +
               body + u"</matches></xml>";
    return lineOf(u"<html><head><meta charset=\"utf-8\"><title></title></head><body>") +
           lineOf(u"<table>") +
           lineOf(u"<tr><th>File</th><th>Line</th><th>Column</th><th>Match</th></tr>") + body +
           lineOf(u"</table>") + u"</body></html>";
}

TextFormat exportFileFormat() {
    return TextFormat{TextEncoding::Utf8, false, {}};
}

}  // namespace lodestar
