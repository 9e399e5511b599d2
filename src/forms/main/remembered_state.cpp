// What the window takes over from its last run, and hands on to the next one.
#include "forms/main/remembered_state.h"

#include <exception>

#include "core/reason.h"

namespace lodestar {

void RememberedState::apply() {
    if (!file_.empty()) state_ = loadWindowState(file_);
    const WindowState& s = state_;
    bar_.recall(s);
    opening_.recall(s);
    layout_.setSplitShares({s.leftShare, s.listShare, s.sourceShare});
}

bool RememberedState::save() {
    WindowState& s = state_;
    bar_.remember(s);
    opening_.remember(s);
    if (pickerFolder_) s.pickerFolder = pickerFolder_();
    const WindowLayout::SplitShares shares = layout_.splitShares();
    s.leftShare = shares.left;
    s.listShare = shares.list;
    s.sourceShare = shares.source;
    if (file_.empty()) return true;
    try {
        saveWindowState(file_, s);
        return true;
    } catch (const std::exception& e) {
        host_.logError(u"Can't save the window's state.\r\n" + reasonOf(e));
        return false;
    }
}

}  // namespace lodestar
