// The progress bar and the percents that move it.
#include "forms/model/progress_bar.h"

#include <algorithm>

#include "forms/model/control_ids.h"

namespace lodestar {

void showProgress(ControlModel& controls, double done, double total) {
    const double full = controls[main_ids::pgBarBack].geometry.width;
    const double share = total > 0 ? std::clamp(done / total, 0.0, 1.0) : 0.0;
    controls.setWidth(main_ids::pgBarFore, full * share);
}

std::optional<int> PercentSteps::next(std::uint64_t done, std::uint64_t total) {
    // A file that grew while it was read can pass its first size: it stays at 100.
    const int percent = total == 0 ? 0 : static_cast<int>(std::min(done, total) * 100 / total);
    if (percent == last_) return std::nullopt;
    last_ = percent;
    return percent;
}

}  // namespace lodestar
