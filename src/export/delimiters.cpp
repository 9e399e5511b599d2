// The tables are kept as the joined texts the dialog has always split, so names and values stay
// exactly as users know them ("Carriage Retrun", "vertical Line", "Table Rows ").
#include "export/delimiters.h"

#include "core/text.h"

namespace lodestar {

std::vector<std::u16string> exportTypeNames() {
    return splitText(u"TXT,HTML,XML", u",");
}

DelimiterTable txtDelimiters() {
    return {splitText(u"Line Break,Carriage Retrun,New Line,Space,Comma,vertical Line,SemiColon,"
                      u"SemiColon + Line Break",
                      u","),
            splitText(u"\\r\\n:\\r:\\n: :,:|:;:;\\r\\n", u":")};
}

DelimiterTable htmlWrappers() {
    return {
        splitText(u"Line Break,Paragraphs,Ordered Lists,Unordered List,DIV,Table Rows ", u","),
        splitText(u"..<br>,<p>..</p>,<li>..</li>,<li>..</li>,<div>..</div>,<tr><td>..</td></tr>",
                  u",")};
}

DelimiterTable xmlWrappers() {
    return {{}, {u"<m>..</m>"}};
}

DelimiterTable delimitersFor(ExportType type) {
    switch (type) {
        case ExportType::Html:
            return htmlWrappers();
        case ExportType::Xml:
            return xmlWrappers();
        case ExportType::Text:
        default:
            return txtDelimiters();
    }
}

std::u16string saveDialogFilter(ExportType type) {
    switch (type) {
        case ExportType::Html:
            return u"web page(*.htm;*.html)|*.htm;*.html";
        case ExportType::Xml:
            return u"XML file(*.xml)|*.xml";
        case ExportType::Text:
        default:
            return u"text file(*.txt)|*.txt";
    }
}

}  // namespace lodestar
