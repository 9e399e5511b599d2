// A whole session as a user works through it: open, find, move, click, replace, save,
// restore, run a command file, and close with unsaved changes.
#include <filesystem>

#include "forms/main/window_fixture.h"

namespace lodestar::testing {
namespace {

using Scenario = WindowTest;

TEST_F(Scenario, OneFileFromOpeningToClosing) {
    const std::u16string path =
        openNew("page.htm", "<p class=\"x\">cat</p>\r\n<p>Cat and cat</p>\r\n");
    EXPECT_EQ(text("lblStatus"), "Done.");
    EXPECT_NE(u8(source().bodyHtml()).find("<b>p</b>"), std::string::npos);  // highlighted

    // Find with the default switches: ignore case, global.
    find(u"cat");
    EXPECT_EQ(text("matchNo"), "1/3");
    EXPECT_EQ(matches().entryCount(), 3u);
    EXPECT_EQ(source().markCount(), 3u);

    // Next, then a click on entry 3 in the list.
    w->click("btnNext");
    EXPECT_EQ(text("matchNo"), "2/3");
    EXPECT_TRUE(w->onBeforeNavigate(Pane::MatchView, matches().address() + u"#3"));
    EXPECT_EQ(text("matchNo"), "3/3");
    EXPECT_EQ(u8(source().markBackground(2)), "gold");
    EXPECT_EQ(u8(source().markBackground(1)), "");
    EXPECT_EQ(u8(matches().entryBackground(2)), "rgb(230,230,230)");
    EXPECT_EQ(u8(matches().entryBackground(1)), "white");

    // Replace and save: the old file goes to page.bak.
    w->typeText("inRepWith", u"dog");
    prompts.answerOk();
    w->click("mReplace");
    EXPECT_EQ(u8(prompts.asked.back().text), "All matches will be replaced, are you sure?");
    EXPECT_NE(log().find("* 3 items replaced, click save to change the source file.\r\n"),
              std::string::npos);
    EXPECT_EQ(text("matchNo"), "0/0");
    EXPECT_FALSE(c("btnNext").enabled);
    w->click("btnSave");
    EXPECT_EQ(docs.bytes("page.htm"), "<p class=\"x\">dog</p>\r\n<p>dog and dog</p>\r\n");
    EXPECT_EQ(docs.bytes("page.bak"), "<p class=\"x\">cat</p>\r\n<p>Cat and cat</p>\r\n");

    // Restore puts the saved-over file back from its backup.
    w->click("btnRestore");
    EXPECT_EQ(docs.bytes("page.htm"), "<p class=\"x\">cat</p>\r\n<p>Cat and cat</p>\r\n");
    EXPECT_FALSE(std::filesystem::exists(docs.path() / "page.bak"));

    // A command file, then closing without saving its result.
    program.put("rep/tags.rep", "rep cs ---p--- with ---div---;\r\n");
    prompts.choosePath(program.file("rep/tags.rep"));
    w->click("btnAction");
    EXPECT_EQ(u8(w->txtDoc), "<div class=\"x\">cat</div>\r\n<div>Cat and cat</div>\r\n");
    EXPECT_TRUE(c("btnSave").enabled);
    prompts.answerCancel();
    w->click("mExit");
    EXPECT_FALSE(w->closed());
    prompts.answerDiscard();
    w->click("mExit");
    EXPECT_TRUE(w->closed());
    EXPECT_EQ(u8(prompts.asked.back().text), "File not saved, save it before exit?");
    EXPECT_EQ(docs.bytes("page.htm"), "<p class=\"x\">cat</p>\r\n<p>Cat and cat</p>\r\n");
    (void)path;
}

}  // namespace
}  // namespace lodestar::testing
