// Find: the pattern box, the search, the match list, the marked source view and its limits.
#include <filesystem>

#include "forms/main/window_fixture.h"

namespace lodestar::testing {
namespace {

using Find = WindowTest;

TEST_F(Find, ListsEveryMatchMarksItAndLogsTheCount) {
    openNew("a.htm", "a<b and c d, a<b");
    find(u"a<b|c d");
    EXPECT_NE(listHtml().find("setValue(1)><span class=n>1</span><span class=at>1:1</span>"
                              "<span class=tx><em>a&lt;b</em>"),
              std::string::npos);
    EXPECT_EQ(matches().entryCount(), 3u);
    EXPECT_EQ(source().markCount(), 3u);
    EXPECT_NE(u8(source().bodyHtml()).find("<a id='1'></a><em>"), std::string::npos);
    EXPECT_EQ(u8(source().bodyHtml()).rfind("<pre id=code>", 0), 0u);
    EXPECT_NE(log().find("* Search a<b|c d\r\n3 items found.\r\n"), std::string::npos);
    EXPECT_EQ(text("lblTotal"), "3");
    EXPECT_EQ(text("lblStatus"), "Done.");
    EXPECT_TRUE(w->file().searchDone());
    EXPECT_TRUE(c("btnExp").enabled && c("mExp").enabled);
}

TEST_F(Find, WithNoFileNothingIsSearchedOrLogged) {
    w->controls().setEnabled("btnFind", true);
    find(u"a");
    EXPECT_TRUE(log().empty());
}

TEST_F(Find, CleansThePatternBoxAndRecordsItInTheHistory) {
    openNew("a.txt", "ab");
    find(u"a\r\n\tb");
    EXPECT_EQ(text("inRepFrom"), "ab");
    EXPECT_EQ(w->usedPatterns().count(), 1u);
    EXPECT_EQ(text("mRegs(1)"), "ab");
    EXPECT_EQ(text("matchNo"), "1/1");
}

TEST_F(Find, ALongResultIsShownAPieceAtATimeAndNothingIsWrittenBesideTheProgram) {
    auto files = [&] {
        std::size_t n = 0;
        for (const auto& e : std::filesystem::recursive_directory_iterator(program.path()))
            n += e.is_regular_file() ? 1 : 0;
        return n;
    };
    const std::size_t before = files();
    openNew("big.txt", std::string(70000, 'q') + "\n" + std::string(70000, 'q'));
    ASSERT_NE(source().bodyPieces(), nullptr);
    EXPECT_NE(u8(source().address()).find("src.tmp"), std::string::npos);  // no other page
    EXPECT_EQ(u8(source().bodyText()), std::string(70000, 'q') + "\n" + std::string(70000, 'q'));
    find(u"q{7}");
    EXPECT_EQ(source().markCount(), 20000u);
    EXPECT_EQ(matches().entryCount(), 20000u);
    EXPECT_EQ(text("matchNo"), "1/20000");
    EXPECT_EQ(u8(source().markBackground(0)), "gold");
    EXPECT_EQ(files(), before);
}

TEST_F(Find, ALongBodyKeepsCharactersTheCodePageCannotHold) {
    openNew("sp.txt", std::string(70000, ' '));
    w->click("btnViewIn");  // spaces become middle dots, lines get marks
    settle();
    EXPECT_EQ(u8(source().bodyText()).substr(0, 4), "\u00B7\u00B7");
}

using OpenFile = WindowTest;

TEST_F(OpenFile, DropsTrailingNulsButLogsThePathAsHandedOver) {
    const std::u16string path = put("n.txt", "x");
    std::u16string withNuls = path + std::u16string(2, u'\0');
    w->OpenFile(withNuls);
    EXPECT_EQ(w->document().path, path);
    EXPECT_EQ(log(), "* Open file " + u8(withNuls) + "\r\n");
}

TEST_F(OpenFile, IgnoresAMissingFileAndAsksBeforeDroppingUnsavedText) {
    w->OpenFile(docs.file("missing.txt"));
    EXPECT_TRUE(w->document().path.empty());
    EXPECT_TRUE(log().empty());

    const std::u16string first = openNew("a.txt", "aaa");
    replace(u"a", u"");
    prompts.answerCancel();
    w->click("mOpenFile");
    EXPECT_EQ(lastQuestion(), "Your file not saved, save it before opening a new file?");
    EXPECT_EQ(w->document().path, first);
}

}  // namespace
}  // namespace lodestar::testing
