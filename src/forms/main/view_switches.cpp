// The view switches of the window shell: source view, match list, invisible characters and
// word wrap; and the two helpers that bring the source view up to date.
#include "forms/main/control_catalog.h"
#include "forms/main/main_window.h"

namespace lodestar {

void MainWindow::viewSource() {
    const bool shown = !controls_["SuperMonitor"].visible;
    setPaneVisible(Pane::SuperMonitor, shown);
    controls_.setStruckThrough("View_FS", !shown);
    showViewTicks();
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
    showViewTicks();
    layout_.resize();
    if (shown && SearchDone && !matchListBuilt) buildMatchList();
}

void MainWindow::viewInvisible() {
    showInvisible = !showInvisible;
    showViewTicks();
    reShow();
}

// The choice is kept by the window and given to every page the source view renders, so a new
// search or file keeps it and the tick always tells what the view does.
void MainWindow::wordWrap() {
    if (!superMonitor_.hasCode()) {
        services_.prompts.message(u"Auto wrap need Internet Explorer 5.5 + installed. ", kAppTitle);
        return;
    }
    wrapLines = !wrapLines;
    applyWordWrap();
    showViewTicks();
}

void MainWindow::applyWordWrap() {
    superMonitor_.setCodeWordWrap(wrapLines ? u"break-word" : u"normal");
}

void MainWindow::showViewTicks() {
    controls_.setChecked("mFsrc", controls_["SuperMonitor"].visible);
    controls_.setChecked("mMlist", controls_["MatchView"].visible);
    for (const char* name : {"mViewIn", "btnViewIn"}) controls_.setChecked(name, showInvisible);
    for (const char* name : {"mWrap", "btnWrap"}) controls_.setChecked(name, wrapLines);
}

void MainWindow::showStartHints() {
    const std::u16string hint =
        u"<div class=\"hint\" style=\"margin:12px; color:#555; font:13px sans-serif\">"
        u"Open a file with Ctrl+O or a folder with Ctrl+F</div>";
    superMonitor_.setBodyHtml(hint);
    writeMatchList(hint);
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
        renderSource(doc_.text);
}

}  // namespace lodestar
