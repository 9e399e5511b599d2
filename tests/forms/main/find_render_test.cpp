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

// After a search that finds nothing, nothing of the earlier result can be seen or stepped
// through; the same holds after a pattern the engine rejects, which also says why.
TEST_F(Find, NothingFoundOrABrokenPatternClearsTheEarlierResult) {
    struct Case {
        const char16_t* pattern;
        const char* log;
        const char* status;
    };
    const Case cases[] = {
        {u"zzz", "* 0 item found!\r\n", "Done."},
        {u"(a", "Err:Invalid pattern.\r\nmissing ) at position 2\r\n", "Invalid pattern."},
        {u"a[", "Err:Invalid pattern.\r\nmissing ] at position 2", "Invalid pattern."},
        // The position is the one in the pattern as typed, before the dots were widened.
        {u"x.y(", "Err:Invalid pattern.\r\nmissing ) at position 4", "Invalid pattern."},
    };
    for (const Case& k : cases) {
        openNew("a.txt", "abc abc");
        find(u"b");
        ASSERT_EQ(source().markCount(), 2u);
        find(k.pattern);
        EXPECT_NE(log().find(k.log), std::string::npos) << log();
        EXPECT_EQ(text("lblStatus"), k.status);
        EXPECT_EQ(text("matchNo"), "0/0");
        EXPECT_EQ(text("lblTotal"), "");
        EXPECT_EQ(source().bodyHtml(), u"<pre id=code>abc abc</pre>");
        EXPECT_EQ(source().markCount(), 0u);
        EXPECT_FALSE(c("btnNext").enabled || c("btnPrev").enabled || c("btnExp").enabled);
        EXPECT_FALSE(w->file().searchDone());
        EXPECT_FALSE(timer.armed);
        w->click("btnNext");  // nothing to step through
        EXPECT_EQ(text("matchNo"), "0/0");
    }
    EXPECT_EQ(listHtml(), "");
}

TEST_F(Find, AnEmptyPatternBoxAsksForOneAndSearchesNothing) {
    openNew("a.txt", "abc");
    find(u"b");
    const std::string before = log();
    find(u"");
    ASSERT_FALSE(prompts.asked.empty());
    EXPECT_EQ(u8(prompts.asked.back().text), "Please input what you want to find");
    EXPECT_EQ(u8(prompts.asked.back().caption), "Lodestar");
    EXPECT_EQ(log(), before);
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

TEST_F(Find, SwitchesDecideHowThePatternMatches) {
    openNew("a.txt", "Cat-cat\nDOG");
    find(u"cat");
    EXPECT_EQ(w->file().matchCount(), 2);
    w->click("chkIgnoreCase");
    find(u"cat");
    EXPECT_EQ(w->file().matchCount(), 1);
    w->click("mGlobal");
    EXPECT_FALSE(c("chkGlobal").checked);
    w->click("chkIgnoreCase");
    find(u"cat");
    EXPECT_EQ(w->file().matchCount(), 1);
    EXPECT_EQ(source().markCount(), 1u);
    w->click("chkGlobal");
    find(u"t.DOG");  // the dot takes the line feed while "Single Line" is on
    EXPECT_EQ(w->file().matchCount(), 1);
    w->click("mDot");
    EXPECT_FALSE(c("chkMultiline").checked);
    find(u"t.DOG");
    EXPECT_EQ(w->file().matchCount(), 0);  // nothing found
    EXPECT_EQ(text("matchNo"), "0/0");
    find(u"^DOG$");
    EXPECT_EQ(text("matchNo"), "0/0");
    w->click("chkLine");
    EXPECT_TRUE(c("mLine").checked);
    find(u"^DOG$");
    EXPECT_EQ(text("matchNo"), "1/1");
    EXPECT_EQ(w->file().matchCount(), 1);
}

// The marks come from the matches the search found, whatever the pattern or text holds.
TEST_F(Find, MarksExactlyTheMatchesTheCountReports) {
    openNew("a.txt", "aa bb [m]x[/m] cc");
    find(u"(\\w)\\1");
    EXPECT_EQ(w->file().matchCount(), 3);
    EXPECT_EQ(source().markCount(), 3u);
    const std::string text = u8(source().bodyText());
    EXPECT_NE(text.find("[m]x[/m]"), std::string::npos);

    find(u"x*");  // empty matches: one mark each
    EXPECT_EQ(source().markCount(), static_cast<std::size_t>(w->file().matchCount()));
    EXPECT_EQ(matches().entryCount(), static_cast<std::size_t>(w->file().matchCount()));

    find(u"a\\9");  // no such group: the count and the marks still agree
    EXPECT_EQ(source().markCount(), static_cast<std::size_t>(w->file().matchCount()));
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

TEST_F(Find, TheLimitCountsTheRenderedCharacters) {
    // The plain body of a text without markup characters is the text itself.
    openNew("edge.txt", std::string(64000, 'a'));
    EXPECT_EQ(source().bodyPieces(), nullptr);
    EXPECT_EQ(w->file().renderedSource().size(), 64000u + 19u);  // <pre id=code> and </pre>
    openNew("over.txt", std::string(64001, 'a'));
    EXPECT_NE(source().bodyPieces(), nullptr);
}

TEST_F(Find, ALongBodyKeepsCharactersTheCodePageCannotHold) {
    openNew("sp.txt", std::string(70000, ' '));
    w->click("btnViewIn");  // spaces become middle dots, lines get marks
    settle();
    EXPECT_EQ(u8(source().bodyText()).substr(0, 4), "\u00B7\u00B7");
}

using OpenFile = WindowTest;

TEST_F(OpenFile, AsksBeforeOpeningAFileAbove256000Bytes) {
    openNew("exact.txt", std::string(256000, 'a'));
    EXPECT_TRUE(prompts.asked.size() == 1 && prompts.asked[0].kind == "openFile");
    const std::u16string big = put("big.txt", std::string(256001, 'b'));
    prompts.answerCancel();
    open(big);
    ASSERT_EQ(prompts.asked.size(), 3u);
    EXPECT_EQ(u8(prompts.asked[2].text),
              "We recommend you to open file bigger than 256k in folder mode,\r\nor the speed "
              "of showing source code may be very slow,are you sure to open it?");
    EXPECT_EQ(u8(prompts.asked[2].caption), " Warning");
    EXPECT_EQ(w->document().text.size(), 256000u);  // declined: the previous file stays
    EXPECT_EQ(u8(w->document().text).substr(0, 1), "a");
}

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
