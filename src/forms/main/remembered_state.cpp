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
    recentFolders_.assign(s.recentFolders);
    recentFolders_.showIn(controls_);
    layout_.setSplitShares({s.leftShare, s.listShare, s.sourceShare});
    if (s.lastPattern && controls_["inRepFrom"].text.empty())
        controls_.setText("inRepFrom", *s.lastPattern);
    file_.recallViewSwitches(s.invisible.value_or(file_.showInvisible()),
                             s.wordWrap.value_or(file_.wrapLines()));
    if (s.matchList && *s.matchList != controls_["MatchView"].visible) viewMatchList();
}

bool MainWindow::saveRememberedState() {
    WindowState& s = remembered_;
    bar_.remember(s);
    s.openFolder = lastOpenFolder_;
    if (pickerFolder_) s.pickerFolder = pickerFolder_();
    s.recentFiles = recentFiles_.entries();
    s.recentFolders = recentFolders_.entries();
    // The pattern as the user typed it, not the form a search cleaned it into.
    const std::u16string& box = controls_["inRepFrom"].text;
    s.lastPattern = !box.empty() && box == bar_.request().cleanedPattern()
                        ? bar_.request().typedPattern()
                        : box;
    s.matchList = controls_["MatchView"].visible;
    s.invisible = file_.showInvisible();
    s.wordWrap = file_.wrapLines();
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
