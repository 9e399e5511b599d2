// The progress bar under the log: `pgBarFore` drawn along `pgBarBack`, for the folder runs and
// for the open and search of one large text.
#pragma once

#include <cstdint>
#include <optional>

#include "forms/model/controls.h"

namespace lodestar {

// `done` of `total` shown on the bar; empty when there is nothing to do.
void showProgress(ControlModel& controls, double done, double total);

// The whole percents a job's progress passes through. A job tells every step; only a change
// of the percent is worth a report to the window, so a job of millions of steps sends about a
// hundred.
class PercentSteps {
  public:
    // The percent `done` of `total` is, when it differs from the last one given (at first 0).
    std::optional<int> next(std::uint64_t done, std::uint64_t total);

  private:
    int last_ = 0;
};

}  // namespace lodestar
