// The splitters keep the user's positions through resizes: each drag records its position as a
// share of the room, and the layout puts every splitter back at its share.
#include "forms/main/layout.h"

#include "forms/model/control_ids.h"

namespace lodestar {

namespace {
// Below this (in twips) the window is too small for the clamps of a splitter to make sense.
constexpr double kSmallest = 3000;
}  // namespace

void WindowLayout::noteSplitShare(std::string_view splitter) {
    const double panel = get(main_ids::Frame2, &Rect::height);
    if (splitter == main_ids::splitter && size_.outerWidth > 0)
        shares_.left = get(main_ids::Frame1, &Rect::width) / size_.outerWidth;
    else if (splitter == main_ids::splitter2 && panel > 0)
        shares_.list = c_[main_ids::ListView].geometry.bottom() / panel;
    else if (splitter == main_ids::splitter3 && panel > 0)
        shares_.source = c_[main_ids::SuperMonitor].geometry.bottom() / panel;
}

void WindowLayout::applyLeftShare() {
    if (!shares_.left || size_.outerWidth < kSmallest) return;
    double x = *shares_.left * size_.outerWidth;
    sizeControls(x);
}

void WindowLayout::applyPaneShares() {
    const double panel = get(main_ids::Frame2, &Rect::height);
    if (panel < kSmallest || size_.outerHeight < kSmallest) return;
    const bool list = c_[main_ids::ListView].visible;
    const bool source = c_[main_ids::SuperMonitor].visible;
    const bool matches = c_[main_ids::MatchView].visible;
    if (shares_.list && list && source) {
        double height = *shares_.list * panel - get(main_ids::ListView, &Rect::top);
        sizeControls2(height);
    }
    if (shares_.source && source && matches) {
        double y = *shares_.source * panel;
        sizeControls3(y);
    }
}

}  // namespace lodestar
