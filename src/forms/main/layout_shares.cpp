// The splitters keep the user's positions through resizes: each drag records its position as a
// share of the room, and the layout puts every splitter back at its share.
#include "forms/main/layout.h"

namespace lodestar {

namespace {
// Below this (in twips) the window is too small for the clamps of a splitter to make sense.
constexpr double kSmallest = 3000;
}  // namespace

void WindowLayout::noteSplitShare(const std::string& splitter) {
    const double panel = get("Frame2", &Rect::height);
    if (splitter == "splitter" && size_.outerWidth > 0)
        shares_.left = get("Frame1", &Rect::width) / size_.outerWidth;
    else if (splitter == "splitter2" && panel > 0)
        shares_.list = c_["ListView"].geometry.bottom() / panel;
    else if (splitter == "splitter3" && panel > 0)
        shares_.source = c_["SuperMonitor"].geometry.bottom() / panel;
}

void WindowLayout::applyLeftShare() {
    if (!shares_.left || size_.outerWidth < kSmallest) return;
    double x = *shares_.left * size_.outerWidth;
    sizeControls(x);
}

void WindowLayout::applyPaneShares() {
    const double panel = get("Frame2", &Rect::height);
    if (panel < kSmallest || size_.outerHeight < kSmallest) return;
    const bool list = c_["ListView"].visible;
    const bool source = c_["SuperMonitor"].visible;
    const bool matches = c_["MatchView"].visible;
    if (shares_.list && list && source) {
        double height = *shares_.list * panel - get("ListView", &Rect::top);
        sizeControls2(height);
    }
    if (shares_.source && source && matches) {
        double y = *shares_.source * panel;
        sizeControls3(y);
    }
}

}  // namespace lodestar
