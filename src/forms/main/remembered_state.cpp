// What the window takes over from its last run, and hands on to the next one.
#include <exception>

#include "core/reason.h"
#include "forms/main/main_window.h"

namespace lodestar {

void MainWindow::applyRememberedState() {
    if (!stateFile_.empty()) remembered_ = loadWindowState(stateFile_);
    const WindowState& s = remembered_;
    bar_.recall(s);
    lastOpenFolder_ = s.openFolder;
    recentFiles_.assign(s.recentFiles);
    recentFiles_.showIn(controls_);
    layout_.setSplitShares({s.leftShare, s.listShare, s.sourceShare});
}

bool MainWindow::saveRememberedState() {
    WindowState& s = remembered_;
    bar_.remember(s);
    s.openFolder = lastOpenFolder_;
    if (pickerFolder_) s.pickerFolder = pickerFolder_();
    s.recentFiles = recentFiles_.entries();
    const WindowLayout::SplitShares shares = layout_.splitShares();
    s.leftShare = shares.left;
    s.listShare = shares.list;
    s.sourceShare = shares.source;
    if (stateFile_.empty()) return true;
    try {
        saveWindowState(stateFile_, s);
        return true;
    } catch (const std::exception& e) {
        logError(u"Can't save the window's state.\r\n" + reasonOf(e));
        return false;
    }
}

}  // namespace lodestar
