// The view switches of the window shell: source view, match list, invisible characters and
// word wrap; and the two helpers that bring the source view up to date.
#include "forms/main/control_catalog.h"
#include "forms/main/main_window.h"

namespace lodestar {

void MainWindow::viewSource() {
    const bool shown = !controls_["SuperMonitor"].visible;
    setPaneVisible(Pane::SuperMonitor, shown);
    controls_.setStruckThrough("View_FS", !shown);
    controls_.setChecked("mFsrc", !controls_["mFsrc"].checked);
    if (shown)
        enableSourceTools();
    else
        disableSourceTools();
    layout_.resize();
}

void MainWindow::viewMatchList() {
    const bool shown = !controls_["MatchView"].visible;
    setPaneVisible(Pane::MatchView, shown);
    controls_.setStruckThrough("View_ML", !shown);
    controls_.setChecked("mMlist", !controls_["mMlist"].checked);
    layout_.resize();
    if (shown && SearchDone && !matchListBuilt) buildMatchList();
}

void MainWindow::viewInvisible() {
    showInvisible = !showInvisible;
    controls_.setChecked("mViewIn", showInvisible);
    reShow();
}

void MainWindow::wordWrap() {
    controls_.setChecked("mWrap", !controls_["mWrap"].checked);
    if (!superMonitor_.hasCode()) {
        services_.prompts.message(u"Auto wrap need Internet Explorer 5.5 + installed. ", kAppTitle);
        return;
    }
    // The style's current value decides, not the tick.
    superMonitor_.setCodeWordWrap(superMonitor_.codeWordWrap() == u"normal" ? u"break-word"
                                                                            : u"normal");
}

void MainWindow::OpenMonitor() {
    setPaneVisible(Pane::SuperMonitor, true);
    layout_.arrangePanes();
    enableSourceTools();
}

void MainWindow::reShow() {
    if (SearchDone)
        searchText(false);
    else
        renderSource(txtDoc);
}

}  // namespace lodestar
