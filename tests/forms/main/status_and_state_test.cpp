// The status line and counter after each command, the next start, and the file's encoding.
#include <optional>

#include "forms/file/file_scope.h"
#include "forms/file/large_file.h"
#include "forms/main/match_counter.h"
#include "forms/main/window_fixture.h"

namespace lodestar::testing {
namespace {

using namespace std::string_literals;

using StatusFields = WindowTest;

// Every field tells the truth after each command: a total only while a search result stands.
TEST_F(StatusFields, FollowEachCommand) {
    openNew("a.txt", "one two\r\none\r\n");
    EXPECT_EQ(text("lblEncoding"), "UTF-8");
    EXPECT_EQ(text("lblLineEnds"), "CRLF");
    EXPECT_TRUE(c("mEncUtf8").checked);
    EXPECT_FALSE(c("mEnc1252").checked);
    const struct {
        const char* step;
        std::function<void()> act;
        const char* total;
    } steps[] = {
        {"find", [&] { find(u"one"); }, "2"},
        {"replace", [&] { replace(u"one", u"1"); }, ""},
        {"find again", [&] { find(u"two"); }, "1"},
        {"save", [&] { w->click("btnSave"); }, "1"},
        {"find after save", [&] { find(u"1"); }, "2"},
        {"restore", [&] { w->click("btnRestore"); }, ""},
    };
    for (const auto& s : steps) {
        s.act();
        EXPECT_EQ(text("lblTotal"), s.total) << s.step;
        EXPECT_FALSE(text("lblStatus").ends_with("...")) << s.step;
    }
    find(u"1");
    w->click("mEnc1252");
    EXPECT_EQ(text("lblTotal"), "");  // read again: no search stands
    EXPECT_TRUE(c("mEnc1252").checked);
    EXPECT_FALSE(c("mEncUtf8").checked);
    w->click("mClose");  // the scratch pad: no file, its own count
    EXPECT_EQ(text("lblEncoding") + text("lblLineEnds"), "");
    EXPECT_EQ(text("lblTotal"), std::to_string(w->file().matchCount()));
}

TEST(LineEnds, AreNamedByStyle) {
    const std::pair<const char16_t*, const char*> rows[] = {
        {u"", ""},       {u"no break", ""},      {u"a\r\nb\r\n", "CRLF"}, {u"a\nb\n", "LF"},
        {u"a\rb", "CR"}, {u"a\r\nb\n", "Mixed"}, {u"a\n\r", "Mixed"},     {u"\r\n", "CRLF"},
    };
    for (const auto& [text, label] : rows) EXPECT_EQ(u8(lineEndLabel(text)), label) << label;
}

// A folder run counts its files in the status and keeps "Done." back until it has ended.
TEST_F(StatusFields, FolderRunsCountTheirFilesAndEndTruly) {
    for (int i = 0; i < 4; ++i) put("f" + std::to_string(i) + ".htm", "x x");
    ASSERT_TRUE(ws->folder().openFolder(docs.folder(), u""));
    settle();
    std::vector<std::string> seen;
    runner.afterReport = [&](int) { seen.push_back(text("lblStatus")); };
    w->onFileTicked(1, false);
    find(u"x");
    EXPECT_EQ(text("lblTotal"), "6");
    EXPECT_NE(log().find("* Search x, 6 items found in 3 files.\r\n"), std::string::npos) << log();
    EXPECT_EQ(text("lblStatus"), "Done.");
    bool counted = false;
    for (std::size_t i = 0; i + 1 < seen.size(); ++i) {
        counted =
            counted || (seen[i].starts_with("file ") && seen[i].find(" of 4") != std::string::npos);
        EXPECT_NE(seen[i], "Done.") << "report " << i;
    }
    EXPECT_TRUE(counted);
}

// Enter in the counter moves to the match it names; anything else puts the counter back.
TEST_F(StatusFields, TheCounterTakesAMatchNumber) {
    openNew("m.txt", "a b a b a");
    find(u"a");
    const std::pair<const char16_t*, const char*> rows[] = {
        {u"2", "2/3"}, {u" 3/3 ", "3/3"}, {u"0", "3/3"},   {u"4", "3/3"},
        {u"x", "3/3"}, {u"", "3/3"},      {u"1/9", "1/3"}, {u"99999999999999999999", "1/3"},
    };
    for (const auto& [typed, shown] : rows) {
        w->typeText("matchNo", typed);
        w->enterText("matchNo");
        EXPECT_EQ(text("matchNo"), shown) << u8(typed);
        EXPECT_EQ(w->file().curMatch(), shown[0] - '0') << u8(typed);
    }
    EXPECT_EQ(typedMatchNumber(u"1000000/1000000", 1000000), 1000000);
}

// View switches, the last pattern as typed and the recent folders outlive the window; a state
// file of an older version, without them, still starts the window as designed.
TEST_F(StatusFields, TheNextStartTakesOverViewsPatternAndFolders) {
    const std::u16string stateFile = program.file("state/window-state");
    start(stateFile);
    openNew("v.txt", "a.b");
    w->typeText("inRepFrom", u"a\r\n.b");  // cleaned into one line by Find
    w->click("btnFind");
    settle();
    EXPECT_NE(log().find("* Search a\r\n.b\r\n1 items found."), std::string::npos) << log();
    w->click("View_ML");
    w->click("btnViewIn");
    w->click("btnWrap");
    put("page.htm", "x");
    ASSERT_TRUE(ws->folder().openFolder(docs.folder(), u""));
    settle();
    ASSERT_TRUE(w->MultiMode());
    ASSERT_TRUE(w->saveRememberedState());

    start(stateFile);
    EXPECT_EQ(text("inRepFrom"), "a\r\n.b");
    EXPECT_FALSE(c("MatchView").visible);
    EXPECT_TRUE(c("mViewIn").checked && w->file().showInvisible());
    EXPECT_FALSE(c("mWrap").checked || w->file().wrapLines());
    EXPECT_EQ(w->recentFolders().entries(), std::vector<std::u16string>{docs.folder()});
    EXPECT_TRUE(c("mRecentDir").enabled);
    EXPECT_FALSE(w->MultiMode());
    w->click("mRecentDir(1)");
    EXPECT_TRUE(w->MultiMode());

    program.put("state/window-state", "# Lodestar window state\nfilter=1\npattern=p\n");
    start(stateFile);
    EXPECT_EQ(text("inRepFrom"), "");
    EXPECT_TRUE(c("MatchView").visible && w->file().wrapLines());
    EXPECT_FALSE(c("mRecentDir").enabled);
    EXPECT_EQ(text("mRegs(1)"), "p");
}

// Only a file the window cannot carry is asked about; a file of some hundred kilobytes opens.
TEST_F(StatusFields, OnlyAFileTooLargeToCarryIsAskedAbout) {
    const std::uint64_t GB = std::uint64_t{1} << 30;
    const struct {
        std::uint64_t bytes;
        std::optional<std::uint64_t> free;
        bool carried;
    } rows[] = {
        {300'000, std::nullopt, true}, {GB, std::nullopt, true},     {GB + 1, 16 * GB, false},
        {100'000'000, 2 * GB, true},   {100'000'000, GB / 4, false},
    };
    for (const auto& r : rows) EXPECT_EQ(windowCanCarry(r.bytes, r.free), r.carried) << r.bytes;
    openNew("big.txt", std::string(300'000, 'b'));
    EXPECT_EQ(prompts.asked.size(), 1u);  // the open dialog only
    EXPECT_EQ(w->document().text.size(), 300'000u);
}

// Show Syntax turns the source view's highlighting off and on again, at once and for the
// pages that follow.
TEST_F(StatusFields, ShowSyntaxSwitchesTheHighlighting) {
    openNew("p.htm", "<b>x</b>");
    EXPECT_EQ(u8(source().codeSyntax()), "on");
    for (bool on : {false, true}) {
        changeOptions(*w, [on](Options& o) { o.showSyntax = on; });
        EXPECT_EQ(u8(source().codeSyntax()), on ? "on" : "off");
        openNew("q.htm", "<i>y</i>");
        EXPECT_EQ(u8(source().codeSyntax()), on ? "on" : "off");
    }
}

// The current file's encoding: the binary question, the question when Windows-1252 cannot hold
// a replacement, and reopening the file in another encoding.
using FileEncoding = WindowTest;

TEST_F(FileEncoding, ABinaryFileOpensOnlyWhenTheUserSaysSo) {
    const std::u16string path = put("data.bin", "ab\0cd"s);
    prompts.answerCancel();
    open(path);
    EXPECT_EQ(lastQuestion(), "This file looks binary (it holds NUL bytes). Open it anyway?");
    EXPECT_TRUE(w->document().path.empty());
    prompts.answerOk();
    open(path);
    EXPECT_EQ(w->document().path, path);
    EXPECT_EQ(w->document().text, std::u16string(u"ab\0cd", 5));
    EXPECT_EQ(text("lblEncoding"), "Windows-1252");
}

TEST_F(FileEncoding, AReplacementWindows1252CannotHoldAsksToSaveAsUtf8) {
    openNew("w.txt", "caf\xE9 1\n");
    prompts.answerOk();
    replace(u"1", u"\u4E2D", false);  // OK to the replace, Cancel to the encoding question
    EXPECT_NE(lastQuestion().find("(U+4E2D)"), std::string::npos);
    EXPECT_EQ(u8(w->document().text), "caf\u00E9 1\n");
    EXPECT_FALSE(c("btnSave").enabled);
    EXPECT_EQ(text("lblEncoding"), "Windows-1252");

    prompts.answerOk();
    replace(u"1", u"\u4E2D");
    EXPECT_EQ(text("lblEncoding"), "UTF-8");
    w->click("btnSave");
    EXPECT_EQ(docs.bytes("w.txt"), "caf\xC3\xA9 \xE4\xB8\xAD\n");
    // Restore puts the old bytes back, and the old encoding with them.
    w->click("btnRestore");
    EXPECT_EQ(docs.bytes("w.txt"), "caf\xE9 1\n");
    EXPECT_EQ(text("lblEncoding"), "Windows-1252");
}

TEST_F(FileEncoding, TheViewMenuReopensTheFileInAnotherEncoding) {
    openNew("u8.txt", "caf\xC3\xA9");
    w->click("mEnc1252");
    EXPECT_EQ(u8(w->document().text), "caf\u00C3\u00A9");
    EXPECT_EQ(text("lblEncoding"), "Windows-1252");
    w->click("mEncAuto");
    EXPECT_EQ(u8(w->document().text), "caf\u00E9");
    EXPECT_EQ(text("lblEncoding"), "UTF-8");
    // Unsaved replaced text: asked first; Cancel keeps it.
    replace(u"caf", u"tea");
    prompts.answerCancel();
    w->click("mEncUtf16le");
    EXPECT_EQ(lastQuestion(),
              "Your file not saved, save it before reading it again as another encoding?");
    EXPECT_EQ(u8(w->document().text), "tea\u00E9");
    // Closing the file clears the label and turns the entry off.
    w->click("mClose");
    EXPECT_EQ(text("lblEncoding"), "");
    EXPECT_FALSE(c("mEncoding").enabled);
}

}  // namespace
}  // namespace lodestar::testing
