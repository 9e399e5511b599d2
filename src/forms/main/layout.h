// The geometry of the main window in twips: the resize handler, the stacking of the three
// panes of the right panel, and the three splitters with their drag shadows. It works on the
// control model only; which panes are visible is read from the controls "ListView",
// "SuperMonitor" and "MatchView".
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "forms/model/control_ids.h"
#include "forms/model/controls.h"

namespace lodestar {

struct WindowSize {
    double innerWidth = 0;
    double innerHeight = 0;
    double outerWidth = 0;
    double outerHeight = 0;
};

class WindowLayout {
  public:
    explicit WindowLayout(ControlModel& controls) : c_(controls) {}

    void setSize(const WindowSize& size) { size_ = size; }
    const WindowSize& size() const { return size_; }

    // The geometry set once at window load: pattern box height and the empty progress bar.
    void initialGeometry();
    // The resize handler: runs on every size change and after a view switch.
    void resize();
    // Stacks the visible panes in the right panel.
    void arrangePanes();

    // Apply a new position of `splitter`, `splitter2`, `splitter3`; each may clamp it.
    void sizeControls(double& x);
    void sizeControls2(double& y);
    void sizeControls3(double& y);

    // A drag of one of the three splitters, by name. `offset` is the pointer's position
    // within the splitter (x for the vertical splitter, y for the horizontal ones).
    void splitterDown(std::string_view splitter);
    void splitterMove(std::string_view splitter, double offset);
    void splitterUp(std::string_view splitter);
    bool splitDragging() const { return splitDragging_; }

    // Where the user put the splitters, as shares of the room each moves in: the left panel's
    // width of the window's, the file table's and the source view's bottom edges of the right
    // panel's height. A resize and every re-stacking of the panes put them back, scaled.
    struct SplitShares {
        std::optional<double> left, list, source;
    };
    SplitShares splitShares() const { return shares_; }
    void setSplitShares(const SplitShares& shares) { shares_ = shares; }

    // Inner text margin of the activity log box, widened once to at least 4.
    int loggerMargin() const { return loggerMargin_; }

  private:
    double get(std::string_view name, double Rect::*field) const {
        return c_[name].geometry.*field;
    }
    void widenLoggerMargins();
    void noteSplitShare(std::string_view splitter);
    void applyLeftShare();
    void applyPaneShares();
    static ControlId shadowOf(std::string_view splitter);

    ControlModel& c_;
    WindowSize size_;
    bool splitDragging_ = false;
    int loggerMargin_ = 1;
    SplitShares shares_;
};

}  // namespace lodestar
