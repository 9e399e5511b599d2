// What the window takes over from its last run, and hands on to the next one.
#include <exception>

#include "core/reason.h"
#include "forms/main/main_window.h"

namespace lodestar {

namespace {
// The four switches by check box, with the state file's field for each.
const std::pair<const char*, std::optional<bool> WindowState::*> kSwitches[] = {
    {"chkIgnoreCase", &WindowState::ignoreCase},
    {"chkGlobal", &WindowState::global},
    {"chkMultiline", &WindowState::dotAll},
    {"chkLine", &WindowState::multiline},
};
}  // namespace

void MainWindow::applyRememberedState() {
    if (!stateFile_.empty()) remembered_ = loadWindowState(stateFile_);
    const WindowState& s = remembered_;
    for (const std::u16string& pattern : s.patterns) usedPatterns_.add(pattern);
    rebuildHistoryMenu();
    for (const auto& [box, field] : kSwitches)
        if (const std::optional<bool>& on = s.*field) setCheckFromMenu(box, *on);
    lastOpenFolder_ = s.openFolder;
    recentFiles_.assign(s.recentFiles);
    rebuildRecentMenu();
    layout_.setSplitShares({s.leftShare, s.listShare, s.sourceShare});
}

bool MainWindow::saveRememberedState() {
    WindowState& s = remembered_;
    s.patterns = usedPatterns_.entries();
    for (const auto& [box, field] : kSwitches) s.*field = controls_[box].checked;
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
