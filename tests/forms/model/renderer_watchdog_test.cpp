// The watchdog of a pane page: questions while the page is shown, a hang noticed only when the
// bound ran out on time, and late or stale answers.
#include "forms/model/renderer_watchdog.h"

#include <gtest/gtest.h>

#include <vector>

#include "fakes/fake_timer.h"

namespace lodestar {
namespace {

class RendererWatchdogTest : public ::testing::Test {
  protected:
    RendererWatchdogTest()
        : dog(
              timer, [this] { return clock; },
              [this](std::function<void()> answer) { answers.push_back(std::move(answer)); },
              {2000, 5000}) {
        dog.onHung = [this] { ++hung; };
    }
    // Lets `ms` pass and fires the timer, as its event loop would.
    void fireAfter(long long ms) {
        ASSERT_TRUE(timer.armed);
        clock += ms;
        dog.tick();
    }

    fakes::FakeTimer timer;
    long long clock = 1000;
    std::vector<std::function<void()>> answers;
    int hung = 0;
    RendererWatchdog dog;
};

TEST_F(RendererWatchdogTest, AnsweringPageIsAskedAgainAndAgainButNeverHung) {
    dog.start();
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(timer.interval, 2000);
        fireAfter(2000);
        ASSERT_EQ(answers.size(), static_cast<std::size_t>(round + 1));
        EXPECT_EQ(timer.interval, 5000);
        fireAfter(4000);  // nearly out of time, then the answer comes
        answers.back()();
    }
    EXPECT_EQ(hung, 0);
    EXPECT_TRUE(dog.watching());
}

TEST_F(RendererWatchdogTest, SilentPageIsHungOnceItsBoundRunsOutOnTime) {
    dog.start();
    fireAfter(2000);
    fireAfter(4990);  // a timer a little early waits for the rest of the bound
    EXPECT_EQ(hung, 0);
    EXPECT_EQ(timer.interval, 10);
    fireAfter(10);
    EXPECT_EQ(hung, 1);
    EXPECT_FALSE(dog.watching());
    EXPECT_FALSE(timer.armed);
    answers.back()();  // an answer after the verdict changes nothing
    EXPECT_FALSE(timer.armed);
}

TEST_F(RendererWatchdogTest, BoundThatRanOutWhileTheProgramWasBusyStartsAfresh) {
    dog.start();
    fireAfter(2000);
    fireAfter(60000);  // the program itself did not run for a minute
    EXPECT_EQ(hung, 0);
    answers.back()();  // the answer was queued behind the program's work
    fireAfter(2000);
    fireAfter(5000);
    EXPECT_EQ(hung, 1);
}

TEST_F(RendererWatchdogTest, AnswersToQuestionsBeforeAStopOrReloadAreIgnored) {
    dog.start();
    fireAfter(2000);
    dog.stop();  // the page loads again
    EXPECT_FALSE(timer.armed);
    answers.back()();
    EXPECT_FALSE(timer.armed);
    dog.start();
    fireAfter(2000);
    answers.front()();  // the old question's answer does not stand for the new one
    fireAfter(5000);
    EXPECT_EQ(hung, 1);
}

}  // namespace
}  // namespace lodestar
