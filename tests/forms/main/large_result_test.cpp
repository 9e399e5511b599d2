// Opening and searching as jobs that a newer job or Esc stops and drops, and their progress.
#include <algorithm>
#include <deque>

#include "fakes/deferred_work_runner.h"
#include "fakes/sync_work_runner.h"
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

// Runs the work at once but holds its reports and its end, as a busy window's thread would.
struct HeldReports : WorkRunner {
    void start(std::function<void()> work, std::function<void()> finished) override {
        work();
        held.push_back(std::move(finished));
    }
    void post(std::function<void()> report) override { held.push_back(std::move(report)); }
    void ask(std::function<void()> question) override { question(); }
    // Lets everything go; the bar's width after each.
    std::vector<double> release(const MainWindow& w) {
        std::vector<double> widths;
        for (; !held.empty(); held.pop_front()) {
            held.front()();
            widths.push_back(w.controls()["pgBarFore"].geometry.width);
        }
        return widths;
    }
    std::deque<std::function<void()>> held;
};

struct JobProgress : WindowTest {
    std::u16string putLarge() {  // about 3 MB: a few blocks to read
        std::string lines;
        for (int i = 0; lines.size() < 3'000'000; ++i) lines += "line " + std::to_string(i) + "\n";
        return put("large.txt", lines);
    }
};

TEST_F(JobProgress, TheBarFollowsAnOpenAndASearchButNotAStoppedOne) {
    const std::u16string path = putLarge();
    HeldReports runner;
    w->setWorkRunner(&runner);
    w->OpenFile(path);
    std::vector<double> opening = runner.release(*w);
    w->typeText("inRepFrom", u"line \\d*00\\n");  // every hundredth line, all through the text
    w->click("btnFind");
    std::vector<double> searching = runner.release(*w);
    ASSERT_GT(w->file().matchCount(), 1000);
    for (auto* widths : {&opening, &searching}) {
        ASSERT_GE(widths->size(), 3u);
        EXPECT_LE(widths->size(), 102u) << "about one report per percent";
        EXPECT_TRUE(std::is_sorted(widths->begin(), widths->end() - 1));
        EXPECT_GT((*widths)[widths->size() - 2], 0.95 * c("pgBarBack").geometry.width);
        EXPECT_EQ(widths->back(), 0) << "empty once the job is done";
    }
    // Esc while the reports of a search are still on their way: they move nothing.
    const long long before = w->file().matchCount();
    w->typeText("inRepFrom", u"line \\d*0\\n");
    w->click("btnFind");
    w->cancelWork();
    searching = runner.release(*w);
    EXPECT_EQ(*std::max_element(searching.begin(), searching.end()), 0);
    EXPECT_EQ(w->file().matchCount(), before);
}

TEST_F(JobProgress, AnOpenStoppedBetweenBlocksReadsNoFurtherAndChangesNothing) {
    const std::u16string small = openNew("small.txt", "small file");
    fakes::SyncWorkRunner runner;
    runner.afterReport = [&](int) { w->cancelWork(); };  // Esc as the first block is read
    w->setWorkRunner(&runner);
    w->OpenFile(putLarge());
    EXPECT_EQ(runner.reports, 1) << "no block read after the stop";
    EXPECT_FALSE(w->working());
    EXPECT_EQ(w->document().path, small);
    EXPECT_EQ(u8(source().bodyText()), "small file");
    EXPECT_EQ(log().find("large.txt"), std::string::npos) << log();
    EXPECT_EQ(c("pgBarFore").geometry.width, 0);
}

}  // namespace
}  // namespace lodestar::testing
