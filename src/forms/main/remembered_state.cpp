// What the window takes over from its last run, and hands on to the next one.
#include "forms/main/remembered_state.h"

#include <exception>

#include "core/reason.h"
#include "forms/model/control_ids.h"

namespace lodestar {

void RememberedState::apply() {
    if (!file_.empty()) state_ = loadWindowState(file_);
    const WindowState& s = state_;
    bar_.recall(s);
    opening_.recall(s);
    layout_.setSplitShares({s.leftShare, s.listShare, s.sourceShare});
    ControlModel& controls = host_.controls();
    if (s.lastPattern && controls[main_ids::inRepFrom].text.empty())
        controls.setText(main_ids::inRepFrom, *s.lastPattern);
    fileScope_.recallViewSwitches(s.invisible.value_or(fileScope_.showInvisible()),
                                  s.wordWrap.value_or(fileScope_.wrapLines()));
    if (s.matchList && *s.matchList != controls[main_ids::MatchView].visible)
        panes_.toggleMatchList();
}

bool RememberedState::save() {
    WindowState& s = state_;
    bar_.remember(s);
    opening_.remember(s);
    if (pickerFolder_) s.pickerFolder = pickerFolder_();
    // The pattern as the user typed it, not the form a search cleaned it into.
    const std::u16string& box = host_.controls()[main_ids::inRepFrom].text;
    s.lastPattern = !box.empty() && box == bar_.request().cleanedPattern()
                        ? bar_.request().typedPattern()
                        : box;
    s.matchList = host_.controls()[main_ids::MatchView].visible;
    s.invisible = fileScope_.showInvisible();
    s.wordWrap = fileScope_.wrapLines();
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
