// Building the export files. With no items at all (every file of a folder run unticked) the HTML
// and XML files hold only their frame, never an item that was not found.
#include "export/formats.h"

#include "core/text.h"
#include "files/codepage.h"

namespace lodestar {
namespace {

constexpr std::u16string_view kCrLf = u"\r\n";

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
    return joinText(items, delimiter);
}

std::u16string toHTML(const std::vector<std::u16string>& items, std::u16string_view wrapper,
                      int selectedIndex) {
    const std::size_t dots = wrapper.find(u"..");
    if (dots == std::u16string_view::npos) {
        throw ExportFormatError("The HTML wrapper has no \"..\" for the item.");
    }
    const std::u16string body =
        wrappedLines(items, wrapper.substr(0, dots), wrapper.substr(dots + 2));
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
    return lineOf(u"<html><head><title></title></head><body>") + lineOf(open) +
           (items.empty() ? std::u16string() : body + std::u16string(kCrLf)) + lineOf(close) +
           u"</body></html>";
}

std::u16string toXML(const std::vector<std::u16string>& items) {
    std::u16string xml = lineOf(u"<xml><matches>");
    if (!items.empty()) xml += lineOf(wrappedLines(items, u"<m>", u"</m>"));
    return xml + u"</matches></xml>";
}

std::u16string formatExtraction(ExportType type, const std::vector<std::u16string>& items,
                                std::u16string_view delimiterText, int selectedIndex) {
    switch (type) {
        case ExportType::Html: {
            std::u16string page = toHTML(items, delimiterText, selectedIndex);
            if (firstOutsideWindows1252(page))
                page.insert(std::u16string_view(u"<html><head>").size(),
                            u"<meta charset=\"utf-8\">");
            return page;
        }
        case ExportType::Xml: {
            const std::u16string xml = toXML(items);
            if (!firstOutsideWindows1252(xml)) return xml;
            return u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n" + xml;
        }
        case ExportType::Text:
        default:
            return toText(items, delimiterText);
    }
}

}  // namespace lodestar
