// A timer that fires only when the test says so.
#pragma once

#include "platform/one_shot_timer.h"

namespace lodestar::fakes {

class FakeTimer : public OneShotTimer {
  public:
    void start(int milliseconds) override {
        armed = true;
        interval = milliseconds;
    }
    void stop() override { armed = false; }
    bool active() const override { return armed; }

    bool armed = false;
    int interval = 0;
};

}  // namespace lodestar::fakes
