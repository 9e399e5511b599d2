// A single-shot timer. The form arms it; when it fires, the skin calls the form's tick handler.
// It stays armed (and fires again) until the form stops it.
#pragma once

namespace lodestar {

class OneShotTimer {
  public:
    virtual ~OneShotTimer() = default;

    virtual void start(int milliseconds) = 0;
    virtual void stop() = 0;
    virtual bool active() const = 0;
};

}  // namespace lodestar
