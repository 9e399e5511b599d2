// Notices a pane page whose renderer stopped answering. While the page is shown, it is asked
// now and then for a sign of life; when no answer comes within a bound, the page counts as
// hung. A bound that runs out while the program itself was not keeping time (the timer came
// late because the program was busy) gives the page a fresh bound instead: its answer may be
// waiting behind the program's own work.
#pragma once

#include <functional>
#include <memory>

#include "platform/one_shot_timer.h"

namespace lodestar {

class RendererWatchdog {
  public:
    struct Timing {
        int pingEveryMs = 2000;
        int answerWithinMs = 10000;
    };
    // `ping` asks the page for a sign of life and calls the answer it is given when the page
    // replies (or never). `now` is a monotonic clock in milliseconds.
    RendererWatchdog(OneShotTimer& timer, std::function<long long()> now,
                     std::function<void(std::function<void()> answer)> ping, Timing timing);

    // The page was hung; the watchdog has stopped itself.
    std::function<void()> onHung;

    // Watching starts (again, when the page has loaded). Any earlier question goes unheeded.
    void start();
    // The renderer is gone: no watching until `start`.
    void stop();
    // The timer fired.
    void tick();
    bool watching() const { return state_ != State::Idle; }

  private:
    enum class State { Idle, Resting, Waiting };
    void ask();

    OneShotTimer& timer_;
    std::function<long long()> now_;
    std::function<void(std::function<void()>)> ping_;
    Timing timing_;
    State state_ = State::Idle;
    long long deadline_ = 0;
    // Changes with every question and every stop, so a late answer to an old one is ignored.
    std::shared_ptr<long long> question_ = std::make_shared<long long>(0);
};

}  // namespace lodestar
