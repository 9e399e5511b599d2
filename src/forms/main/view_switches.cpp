// The panes of the window shell: the source view and the match list shown or hidden.
#include "forms/main/view_switches.h"

#include "core/text.h"
#include "forms/model/control_ids.h"

namespace lodestar {

void PaneSwitches::show(Pane which, bool on) {
    host_.controls().setVisible(toUtf8(host_.pane(which).name()), on);
    host_.pane(which).setVisible(on);
}

void PaneSwitches::toggleSource() {
    const bool shown = !host_.controls()[main_ids::SuperMonitor].visible;
    show(Pane::SuperMonitor, shown);
    host_.controls().setStruckThrough(main_ids::View_FS, !shown);
    file_.showViewTicks();
    host_.setSourceTools(shown);
    layout_.resize();
}

void PaneSwitches::toggleMatchList() {
    const bool shown = !host_.controls()[main_ids::MatchView].visible;
    show(Pane::MatchView, shown);
    host_.controls().setStruckThrough(main_ids::View_ML, !shown);
    file_.showViewTicks();
    layout_.resize();
    if (shown && file_.searchDone() && !file_.matchListBuilt()) file_.buildMatchList();
}

void PaneSwitches::openMonitor() {
    show(Pane::SuperMonitor, true);
    layout_.arrangePanes();
    host_.setSourceTools(true);
}

}  // namespace lodestar
