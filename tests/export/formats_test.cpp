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

// An HTML page around the given lines.
std::u16string page(std::initializer_list<std::u16string_view> body) {
    std::u16string text = u"<html><head><meta charset=\"utf-8\"><title></title></head><body>\r\n";
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
    // Items are character data, the wrapper stays markup; an empty item still has its line.
    EXPECT_EQ(toHTML({u"<b a=\"1\">&amp;</b>", u""}, u"<p>..</p>", 4),
              page({u"<p>&lt;b a=&quot;1&quot;&gt;&amp;amp;&lt;/b&gt;</p>", u"<p></p>"}));
    EXPECT_THROW(toHTML(kAB, u"<p>.</p>", 1), ExportFormatError);
}

std::u16string xmlLines(std::initializer_list<std::u16string_view> parts) {
    return u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n" + lines(parts);
}

// Characters UTF-8 or XML cannot carry become U+FFFD; everything else is kept.
TEST(ExportFormats, ReplaceOnlyWhatTheFileCannotCarry) {
    const std::u16string pair = u"\U0001F600";
    const struct {
        std::u16string item;
        std::u16string html;
        std::u16string xml;
    } cases[] = {
        {u"a\tb\nc\rd", u"a\tb\nc\rd", u"a\tb\nc\rd"},
        {u"x\x01y\x1Fz\x7F", u"x\x01y\x1Fz\x7F", u"x\uFFFDy\uFFFDz\x7F"},
        {u"\uFFFE\uFFFF\u00E9\u4E2D", u"\uFFFE\uFFFF\u00E9\u4E2D", u"\uFFFD\uFFFD\u00E9\u4E2D"},
        {pair, pair, pair},
        {u"a\xD800"
         u"b\xDC00",
         u"a\uFFFDb\uFFFD", u"a\uFFFDb\uFFFD"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(toUtf8(c.xml));
        EXPECT_EQ(toHTML({c.item}, u"..", 0), page({c.html}));
        EXPECT_EQ(toXML({c.item}),
                  xmlLines({u"<xml><matches>", u"<m>" + c.xml + u"</m>", u"</matches></xml>"}));
    }
    EXPECT_EQ(toText({u"a\xDC00", pair}, u","), u"a\uFFFD," + pair);
}

}  // namespace
