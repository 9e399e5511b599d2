// Export with each match's file, line and column, in each of the three formats.
#include <gtest/gtest.h>

#include "forms/export/export_form.h"
#include "forms/main/window_fixture.h"

namespace lodestar {
namespace {

using ExportPlaces = testing::WindowTest;

TEST_F(ExportPlaces, EachFormatCarriesFileLineAndColumn) {
    const std::u16string file = openNew("a&b.txt", "id=1\r\n\xF0\x9F\x98\x80 id=<2>\n");
    find(u"id=\\S+");
    const std::string path = testing::u8(file);
    struct Case {
        int type;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {0, path + ":1:1: id=1\r\n" + path + ":2:3: id=<2>\r\n"},
        {1,
         "<html><head><meta charset=\"utf-8\"><title></title></head><body>\r\n<table>\r\n"
         "<tr><th>File</th><th>Line</th><th>Column</th><th>Match</th></tr>\r\n"
         "<tr><td>" +
             testing::u8(docs.folder()) +
             "a&amp;b.txt</td><td>1</td><td>1</td>"
             "<td>id=1</td></tr>\r\n<tr><td>" +
             testing::u8(docs.folder()) +
             "a&amp;b.txt</td><td>2</td><td>3</td><td>id=&lt;2&gt;</td></tr>\r\n"
             "</table>\r\n</body></html>\r\n"},
        {2, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<xml><matches>\r\n<m file=\"" +
                testing::u8(docs.folder()) +
                "a&amp;b.txt\" line=\"1\" column=\"1\">id=1</m>\r\n"
                "<m file=\"" +
                testing::u8(docs.folder()) +
                "a&amp;b.txt\" line=\"2\" column=\"3\">id=&lt;2&gt;</m>\r\n</matches></xml>\r\n"},
    };
    ExportForm& form = ws->exportForm();
    form.show();
    for (const Case& c : cases) {
        form.select("selExType", c.type);
        if (!form.controls()["chkPlaces"].checked) form.click("chkPlaces");
        const std::string name = "out" + std::to_string(c.type);
        form.typeText("inExFileName", docs.file(name));
        prompts.answerOk();  // an output left from an earlier case is overwritten
        form.show();
        form.click("btnOK");
        EXPECT_EQ(docs.bytes(name), c.expected) << "type " << c.type;
    }
}

}  // namespace
}  // namespace lodestar
