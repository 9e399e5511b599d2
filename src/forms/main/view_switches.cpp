// The panes of the window shell: the source view and the match list shown or hidden.
#include "forms/main/main_window.h"

namespace lodestar {

void MainWindow::viewSource() {
    const bool shown = !controls_["SuperMonitor"].visible;
    setPaneVisible(Pane::SuperMonitor, shown);
    controls_.setStruckThrough("View_FS", !shown);
    file_.showViewTicks();
    setSourceTools(shown);
    layout_.resize();
}

void MainWindow::viewMatchList() {
    const bool shown = !controls_["MatchView"].visible;
    setPaneVisible(Pane::MatchView, shown);
    controls_.setStruckThrough("View_ML", !shown);
    file_.showViewTicks();
    layout_.resize();
    if (shown && file_.searchDone() && !file_.matchListBuilt()) file_.buildMatchList();
}

void MainWindow::OpenMonitor() {
    setPaneVisible(Pane::SuperMonitor, true);
    layout_.arrangePanes();
    setSourceTools(true);
}

}  // namespace lodestar
