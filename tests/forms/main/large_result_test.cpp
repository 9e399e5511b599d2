// Large and many-match results in the headless window: results kept in pieces, empty matches,
// and opening and searching as jobs that a newer job or Esc stops and drops.
#include "fakes/deferred_work_runner.h"
#include "fakes/recording_pane_host.h"
#include "forms/main/window_fixture.h"

namespace lodestar::testing {
namespace {

using LargeResult = WindowTest;

TEST_F(LargeResult, EmptyMatchesAtEveryPositionAreCountedListedAndNavigable) {
    std::string lines;
    while (lines.size() < 200'000) lines += "abc xyz\n";
    openNew("empty.txt", lines);
    find(u"x*");
    const long long n = w->file().matchCount();
    EXPECT_EQ(n, 200'001);  // every position; at each "x" the match is the "x"
    EXPECT_NE(log().find(std::to_string(n - 25'000) + " of them empty."), std::string::npos)
        << log();
    EXPECT_EQ(source().markCount(), static_cast<std::size_t>(n));
    EXPECT_EQ(matches().entryCount(), static_cast<std::size_t>(n));
    ASSERT_NE(source().bodyPieces(), nullptr);
    w->click("btnPrev");  // to the last match
    EXPECT_EQ(text("matchNo"), std::to_string(n) + "/" + std::to_string(n));
    EXPECT_EQ(u8(source().markBackground(static_cast<std::size_t>(n - 1))), "gold");
    EXPECT_EQ(u8(source().markBackground(0)), "");
    EXPECT_EQ(matches().lastScroll()->index, static_cast<std::size_t>(n - 1));
}

TEST_F(LargeResult, ALongListIsBuiltAPieceAtATimeWithNumberedEntries) {
    std::string words;
    for (int i = 0; i < 1500; ++i) words += "w" + std::to_string(i) + " ";
    openNew("words.txt", words);
    fakes::RecordingPaneHost page;
    matches().attach(&page);
    find(u"w\\d+");
    EXPECT_EQ(matches().entryCount(), 1500u);
    EXPECT_EQ(listHtml(), "") << "no fragment: the list is in pieces";
    const long long generation = matches().generation(u"mlist");
    EXPECT_EQ(page.calls.front(), "pieces mlist " + std::to_string(generation) + " 8");
    page.calls.clear();
    w->onPiecesWanted(Pane::MatchView, u"mlist", generation, {1});
    ASSERT_EQ(page.calls.size(), 1u);
    const std::string expected = "piece mlist " + std::to_string(generation) +
                                 " 1 <li data-k=200 onclick=setValue(201)><span class=n>201</span>";
    EXPECT_EQ(page.calls[0].substr(0, expected.size()), expected);
    w->click("btnPrev");
    EXPECT_EQ(text("matchNo"), "1500/1500");
    EXPECT_EQ(u8(matches().entryBackground(1499)), "rgb(230,230,230)");
}

TEST_F(LargeResult, EscDropsTheRunningSearchAndTheNextOneWaitsItsTurn) {
    openNew("a.txt", "one two three two");
    find(u"two");
    ASSERT_EQ(text("matchNo"), "1/2");
    fakes::DeferredWorkRunner jobs;
    w->setWorkRunner(&jobs);
    w->typeText("inRepFrom", u"t\\w+");
    w->click("btnFind");
    EXPECT_TRUE(w->working());
    EXPECT_EQ(text("lblStatus"), "Searching matches");
    w->click("btnNext");  // waits for the search
    EXPECT_EQ(text("matchNo"), "1/2");
    w->cancelWork();
    EXPECT_FALSE(w->working());
    EXPECT_EQ(text("lblStatus"), "Stopped.");
    jobs.finishAll();
    EXPECT_EQ(w->file().matchCount(), 2);
    EXPECT_EQ(matches().entryCount(), 2u);
    EXPECT_EQ(log().find("t\\w+"), std::string::npos);
    w->click("btnNext");
    EXPECT_EQ(text("matchNo"), "2/2");

    // Esc again, then a Find while the stopped search still holds the worker: it runs after.
    w->click("btnFind");
    w->cancelWork();
    w->typeText("inRepFrom", u"o");
    w->click("btnFind");
    ASSERT_EQ(jobs.held.size(), 2u);
    EXPECT_TRUE(w->working());
    jobs.finishOne();
    EXPECT_TRUE(w->working()) << "the stopped search's end is not the new one's";
    jobs.finishAll();
    EXPECT_FALSE(w->working());
    EXPECT_EQ(w->file().matchCount(), 3);
}

TEST_F(LargeResult, ANewerOpenReplacesOneStillRunning) {
    const std::u16string first = put("first.txt", "first file");
    const std::u16string second = put("second.txt", "second file");
    fakes::DeferredWorkRunner jobs;
    w->setWorkRunner(&jobs);
    w->OpenFile(first);
    w->OpenFile(second);
    ASSERT_EQ(jobs.held.size(), 2u);
    jobs.finishAll();
    EXPECT_EQ(w->document().path, second);
    EXPECT_EQ(u8(source().bodyText()), "second file");
    EXPECT_EQ(log().find("first.txt"), std::string::npos) << log();
}

TEST_F(LargeResult, AJobThatEndsAfterTheWindowClosedChangesNothing) {
    openNew("a.txt", "one two");
    fakes::DeferredWorkRunner jobs;
    w->setWorkRunner(&jobs);
    w->typeText("inRepFrom", u"two");
    w->click("btnFind");
    w->terminate();
    const std::string logBefore = log();
    jobs.finishAll();
    EXPECT_EQ(log(), logBefore);
    EXPECT_EQ(w->file().matchCount(), 0);
}

}  // namespace
}  // namespace lodestar::testing
