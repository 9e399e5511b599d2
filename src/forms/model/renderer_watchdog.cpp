// The sign-of-life questions to a pane page and the decision that it hangs.
#include "forms/model/renderer_watchdog.h"

namespace lodestar {

namespace {
// A timer event this much later than asked for means the program itself was busy.
constexpr long long kLateMs = 1000;
}  // namespace

RendererWatchdog::RendererWatchdog(OneShotTimer& timer, std::function<long long()> now,
                                   std::function<void(std::function<void()> answer)> ping,
                                   Timing timing)
    : timer_(timer), now_(std::move(now)), ping_(std::move(ping)), timing_(timing) {}

void RendererWatchdog::start() {
    ++*question_;
    state_ = State::Resting;
    timer_.start(timing_.pingEveryMs);
}

void RendererWatchdog::stop() {
    ++*question_;
    state_ = State::Idle;
    timer_.stop();
}

void RendererWatchdog::ask() {
    const long long asked = ++*question_;
    state_ = State::Waiting;
    deadline_ = now_() + timing_.answerWithinMs;
    timer_.start(timing_.answerWithinMs);
    std::weak_ptr<long long> question = question_;
    ping_([this, question, asked] {
        const auto current = question.lock();
        if (!current || *current != asked || state_ != State::Waiting) return;
        state_ = State::Resting;
        timer_.start(timing_.pingEveryMs);
    });
}

void RendererWatchdog::tick() {
    if (state_ == State::Resting) {
        ask();
        return;
    }
    if (state_ != State::Waiting) {
        timer_.stop();
        return;
    }
    const long long t = now_();
    if (t < deadline_) {  // a timer that fired early
        timer_.start(static_cast<int>(deadline_ - t));
        return;
    }
    if (t > deadline_ + kLateMs) {  // the program was busy; the answer may be queued behind it
        deadline_ = t + timing_.answerWithinMs;
        timer_.start(timing_.answerWithinMs);
        return;
    }
    stop();
    if (onHung) onHung();
}

}  // namespace lodestar
