// The export dialog: its lists, the file, the checks of Export, and extractions of each kind.
#include <gtest/gtest.h>

#include "fakes/deferred_work_runner.h"
#include "forms/export/export_form.h"
#include "forms/main/window_fixture.h"

namespace lodestar {
namespace {

using testing::u8;

class ExportFormTest : public testing::WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        form = &ws->exportForm();
        form->show();
    }
    const Control& e(const std::string& name) const { return form->controls()[name]; }
    // Types the path and presses Export.
    void exportTo(const std::u16string& path) {
        form->typeText("inExFileName", path);
        form->click("btnOK");
    }
    std::vector<std::string> messages() const {
        std::vector<std::string> texts;
        for (const auto& p : prompts.asked)
            if (p.kind == "message") texts.push_back(u8(p.text));
        return texts;
    }

    ExportForm* form = nullptr;
};

TEST_F(ExportFormTest, SetAsksWithTheTypesFilter) {
    const std::u16string fresh = docs.file("new.htm");
    form->select("selExType", 1);
    prompts.choosePath(u"  " + fresh + u" ");
    form->click("setExFile");
    EXPECT_EQ(e("inExFileName").text, fresh);
    ASSERT_EQ(prompts.asked.back().kind, "saveAs");
    EXPECT_EQ(u8(prompts.asked.back().text), "web page(*.htm;*.html)|*.htm;*.html");
    form->click("setExFile");  // a cancelled dialog changes nothing
    EXPECT_EQ(e("inExFileName").text, fresh);
}

TEST_F(ExportFormTest, ExportsTheCurrentFileInEachFormatAndHides) {
    openNew("nums.txt", "a1 b22 c<3>");
    find(u"\\d+|<\\d>");
    struct Case {
        int type, delimiter;
        std::string expected;
    };
    const Case cases[] = {
        {0, 0, "1\r\n22\r\n<3>\r\n"},
        {0, 4, "1,22,<3>\r\n"},
        {1, 0,
         "<html><head><meta charset=\"utf-8\"><title></title></head><body>\r\n1<br>\r\n22<br>"
         "\r\n&lt;3&gt;<br>\r\n</body></html>\r\n"},
    };
    for (const Case& c : cases) {
        form->show();
        form->select("selExType", c.type);
        form->select("selDelimiter", c.delimiter);
        prompts.asked.clear();
        exportTo(docs.file("out"));
        EXPECT_EQ(docs.bytes("out"), c.expected);
        EXPECT_EQ(messages(), std::vector<std::string>{"Extraction finished."});
        EXPECT_FALSE(form->shown());
    }
    EXPECT_NE(log().find("* Extract \\d+|<\\d>, 3 items extracted in 1 files and saved in " +
                         u8(docs.file("out"))),
              std::string::npos);
    EXPECT_EQ(text("lblStatus"), "Done.");
}

TEST_F(ExportFormTest, NoMatchInTheFileKeepsTheDialogOpenSilently) {
    const std::u16string path = openNew("a.txt", "7");
    find(u"\\d");
    put("a.txt", "none now");  // changed on disk since the search
    exportTo(docs.file("out.txt"));
    EXPECT_TRUE(messages().empty());
    EXPECT_TRUE(form->shown());
    EXPECT_FALSE(std::filesystem::exists(docs.path() / "out.txt"));
}

TEST_F(ExportFormTest, FolderExtractionReadsTheTickedFilesAndWritesTheFrameWhenNothingIsLeft) {
    for (const auto& [name, text] : {std::pair{"a.txt", "1"}, {"b.txt", "2"}, {"c.txt", "3"}})
        put(name, text);
    ASSERT_TRUE(ws->folder().openFolder(docs.folder(), u"*.txt"));
    settle();
    w->onFileTicked(2, false);
    find(u"\\d");
    form->select("selExType", 2);
    exportTo(docs.file("f.xml"));
    EXPECT_EQ(docs.bytes("f.xml"),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<xml><matches>\r\n<m>1</m>\r\n<m>3</m>"
              "\r\n</matches></xml>\r\n");
    EXPECT_NE(log().find("2 items extracted in 3 files"), std::string::npos);

    // The ticked files changed since the search: the frame is written all the same.
    put("a.txt", "x");
    put("c.txt", "y");
    prompts.asked.clear();
    form->show();
    exportTo(docs.file("f.xml"));
    EXPECT_EQ(
        docs.bytes("f.xml"),
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<xml><matches>\r\n</matches></xml>\r\n");
    EXPECT_EQ(messages(), std::vector<std::string>{"Extraction finished."});
    EXPECT_FALSE(form->shown());

    // A folder search that found nothing: no run at all.
    find(u"\\d");
    form->show();
    prompts.asked.clear();
    exportTo(docs.file("g.xml"));
    EXPECT_TRUE(messages().empty());
    EXPECT_FALSE(std::filesystem::exists(docs.path() / "g.xml"));
}

TEST_F(ExportFormTest, AFailedRunKeepsTheDialogOpenWithTheReasonInTheLog) {
    openNew("a.txt", "1");
    find(u"\\d");
    form->select("selExType", 1);
    form->typeText("inDelimiter", u"<p></p>");  // a wrapper without ".."
    exportTo(docs.file("out.htm"));
    EXPECT_TRUE(messages().empty());
    EXPECT_TRUE(form->shown());
    EXPECT_NE(log().find("Err:Error in extraction.\r\nPlease examine your regular expression or "
                         "file."),
              std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(docs.path() / "out.htm"));
}

TEST_F(ExportFormTest, NeverWritesOverASearchedFileNorAnotherFileUnasked) {
    const std::u16string page = openNew("page.txt", "1 2");
    find(u"\\d");
    exportTo(page);  // the searched file itself
    EXPECT_EQ(messages().back(),
              "The export file is one of the searched files; choose another output.");
    EXPECT_EQ(docs.bytes("page.txt"), "1 2");
    const std::u16string kept = put("kept.txt", "mine");
    prompts.answerCancel();
    exportTo(kept);  // typed, not chosen through Set: asked all the same
    EXPECT_EQ(lastQuestion(), "File exists, overwrite?");
    EXPECT_EQ(docs.bytes("kept.txt"), "mine");
    exportTo(kept);
    EXPECT_EQ(docs.bytes("kept.txt"), "1\r\n2\r\n");
}

TEST_F(ExportFormTest, RunsAwayFromTheWindowWithStopOffered) {
    put("a.txt", "1");
    put("b.txt", "2");
    ASSERT_TRUE(ws->folder().openFolder(docs.folder(), u"*.txt"));
    find(u"\\d");
    fakes::DeferredWorkRunner runner;
    form->setWorkRunner(&runner);
    exportTo(docs.file("out.txt"));
    ASSERT_EQ(runner.held.size(), 1u);
    EXPECT_TRUE(w->running() && c("btnStop").enabled && !e("btnOK").enabled);
    w->click("btnStop");
    runner.finishAll();
    EXPECT_FALSE(w->running());
    EXPECT_FALSE(std::filesystem::exists(docs.path() / "out.txt"));
    EXPECT_NE(log().find("Extraction stopped; nothing was written."), std::string::npos);
    EXPECT_TRUE(form->shown() && e("btnOK").enabled);
    exportTo(docs.file("out.txt"));
    runner.finishAll();
    EXPECT_EQ(docs.bytes("out.txt"), "1\r\n2\r\n");
    EXPECT_EQ(messages().back(), "Extraction finished.");
    form->setWorkRunner(nullptr);
}

// With "places" each match carries its file, line and column, in each of the three formats.
TEST_F(ExportFormTest, EachFormatCarriesFileLineAndColumnWithPlaces) {
    const std::u16string file = openNew("a&b.txt", "id=1\r\n\xF0\x9F\x98\x80 id=<2>\n");
    find(u"id=\\S+");
    const std::string path = u8(file), escaped = u8(docs.folder()) + "a&amp;b.txt";
    const std::pair<int, std::string> cases[] = {
        {0, path + ":1:1: id=1\r\n" + path + ":2:3: id=<2>\r\n"},
        {1,
         "<html><head><meta charset=\"utf-8\"><title></title></head><body>\r\n<table>\r\n"
         "<tr><th>File</th><th>Line</th><th>Column</th><th>Match</th></tr>\r\n<tr><td>" +
             escaped + "</td><td>1</td><td>1</td><td>id=1</td></tr>\r\n<tr><td>" + escaped +
             "</td><td>2</td><td>3</td><td>id=&lt;2&gt;</td></tr>\r\n"
             "</table>\r\n</body></html>\r\n"},
        {2, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<xml><matches>\r\n<m file=\"" + escaped +
                "\" line=\"1\" column=\"1\">id=1</m>\r\n<m file=\"" + escaped +
                "\" line=\"2\" column=\"3\">id=&lt;2&gt;</m>\r\n</matches></xml>\r\n"},
    };
    for (const auto& [type, expected] : cases) {
        form->select("selExType", type);
        if (!e("chkPlaces").checked) form->click("chkPlaces");
        const std::string name = "out" + std::to_string(type);
        form->show();
        exportTo(docs.file(name));
        EXPECT_EQ(docs.bytes(name), expected) << "type " << type;
    }
}

}  // namespace
}  // namespace lodestar
