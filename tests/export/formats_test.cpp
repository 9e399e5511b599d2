// The export formats with the delimiters of the export dialog.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/text.h"
#include "export/delimiters.h"
#include "export/formats.h"

using namespace lodestar;

namespace {

const std::vector<std::u16string> kAB = {u"a", u"b"};

std::u16string lines(std::initializer_list<std::u16string_view> parts) {
    std::u16string text;
    for (std::u16string_view part : parts) {
        if (!text.empty()) text += u"\r\n";
        text += part;
    }
    return text;
}

std::u16string valueNamed(const DelimiterTable& table, std::u16string_view name) {
    for (std::size_t k = 0; k < table.names.size(); ++k) {
        if (table.names[k] == name) return table.values[k];
    }
    ADD_FAILURE() << "no entry " << toUtf8(name);
    return {};
}

TEST(ExportText, JoinsItemsWithTheDecodedDelimiter) {
    const DelimiterTable txt = txtDelimiters();
    EXPECT_EQ(toText(kAB, valueNamed(txt, u"Comma")), u"a,b");
    EXPECT_EQ(toText(kAB, valueNamed(txt, u"Line Break")), u"a\r\nb");
    EXPECT_EQ(toText(kAB, valueNamed(txt, u"Carriage Retrun")), u"a\rb");
    EXPECT_EQ(toText({u"a", u"b", u"c"}, valueNamed(txt, u"SemiColon + Line Break")),
              u"a;\r\nb;\r\nc");
    EXPECT_EQ(toText(kAB, u"\\t"), u"a\\tb");
    EXPECT_EQ(toText({u"a"}, u","), u"a");
    EXPECT_EQ(toText({u"", u""}, u","), u",");
    EXPECT_EQ(toText({}, u","), u"");
}

// An HTML page around the given lines.
std::u16string page(std::initializer_list<std::u16string_view> body) {
    std::u16string text = u"<html><head><title></title></head><body>\r\n";
    for (std::u16string_view line : body) text.append(line).append(u"\r\n");
    return text + u"</body></html>";
}

TEST(ExportHtml, WrapsOneItemPerLineAndEnclosesListsAndTables) {
    const DelimiterTable html = htmlWrappers();
    EXPECT_EQ(toHTML(kAB, html.values[2], 2),
              page({u"<ol>", u"<li>a</li>", u"<li>b</li>", u"</ol>"}));
    EXPECT_EQ(toHTML(kAB, html.values[0], 0), page({u"a<br>", u"b<br>"}));
    EXPECT_EQ(toHTML({u"x"}, html.values[5], 5),
              page({u"<table>", u"<tr><td>x</td></tr>", u"</table>"}));
    EXPECT_EQ(toHTML(kAB, html.values[3], 3),
              page({u"<ul>", u"<li>a</li>", u"<li>b</li>", u"</ul>"}));
    // The enclosing element follows the list's selection even for a typed wrapper.
    EXPECT_EQ(toHTML({u"a"}, u"[..]..", 2), page({u"<ol>", u"[a]..", u"</ol>"}));
    // Items are written as matched, without escaping; an empty item still has its line.
    EXPECT_EQ(toHTML({u"<&>", u""}, u"..", 4), page({u"<&>", u""}));
    EXPECT_THROW(toHTML(kAB, u"<p>.</p>", 1), ExportFormatError);
}

TEST(ExportHtmlAndXml, WriteOneElementPerItemOrOnlyTheFrame) {
    EXPECT_EQ(toHTML({}, u"<li>..</li>", 2), page({u"<ol>", u"</ol>"}));
    EXPECT_EQ(toHTML({}, u"..<br>", 0), page({}));
    EXPECT_EQ(toXML({}), lines({u"<xml><matches>", u"</matches></xml>"}));
    EXPECT_EQ(toXML(kAB),
              lines({u"<xml><matches>", u"<m>a</m>", u"<m>b</m>", u"</matches></xml>"}));
    EXPECT_EQ(toXML({u""}), lines({u"<xml><matches>", u"<m></m>", u"</matches></xml>"}));
    // Matched markup is character data.
    EXPECT_EQ(
        toXML({u"<b>&amp;</b>"}),
        lines({u"<xml><matches>", u"<m>&lt;b&gt;&amp;amp;&lt;/b&gt;</m>", u"</matches></xml>"}));
}

}  // namespace
