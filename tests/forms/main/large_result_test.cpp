// Opening and searching in the headless window as jobs that a newer job or Esc stops and drops.
#include "fakes/deferred_work_runner.h"
#include "forms/main/window_fixture.h"

namespace lodestar::testing {
namespace {

using LargeResult = WindowTest;

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
