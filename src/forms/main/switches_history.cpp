// The four search switches (check boxes and their menu entries), the request they make with
// the pattern boxes, and the "Used Regexps" menu.
#include "forms/main/main_window.h"
#include "forms/model/app_title.h"

#include <string>
#include <utility>

namespace lodestar {

void MainWindow::setCheckFromMenu(const std::string& box, bool value) {
    // Setting a check box runs its own handler when the value changes, as a click would.
    if (controls_[box].checked == value) return;
    controls_.setChecked(box, value);
    onSwitch(box);
}

// A box and its menu entry show the same tick; the last request follows the engine switches
// at once (the dot switch applies from the next pattern read).
void MainWindow::onSwitch(const std::string& name) {
    static const std::pair<const char*, const char*> twins[] = {{"chkIgnoreCase", "mIgnore"},
                                                                {"chkGlobal", "mGlobal"},
                                                                {"chkMultiline", "mDot"},
                                                                {"chkLine", "mLine"}};
    for (const auto& [box, entry] : twins) {
        if (name == box) {
            controls_.setChecked(entry, controls_[box].checked);
        } else if (name == entry) {
            controls_.setChecked(entry, !controls_[entry].checked);
            setCheckFromMenu(box, controls_[entry].checked);
            return;
        } else {
            continue;
        }
        if (name == "chkMultiline") dotAll_ = controls_[box].checked;
        request_ = request_.withSwitches(tickedSwitches());
        return;
    }
}

SearchSwitches MainWindow::tickedSwitches() const {
    return {controls_["chkIgnoreCase"].checked, controls_["chkGlobal"].checked, dotAll_,
            controls_["chkLine"].checked};
}

std::optional<SearchRequest> MainWindow::readRequest() {
    const std::u16string typed = controls_["inRepFrom"].text;
    if (typed.empty()) {
        services_.prompts.message(u"Please input what you want to find", kAppTitle);
        return std::nullopt;
    }
    request_ = SearchRequest::build(typed, controls_["inRepWith"].text, tickedSwitches(),
                                    options_.escapeSupport);
    controls_.setText("inRepFrom", request_.cleanedPattern());
    addUsedRegexp(request_.cleanedPattern());
    return request_;
}

// The menu shows "Clear History", "Blank" and then one entry per recorded pattern, oldest
// first, named "mRegs(1)", "mRegs(2)", ...; each caption doubles "&" so the pattern shows as
// typed, and picking an entry gives back the pattern exactly as recorded.
void MainWindow::rebuildHistoryMenu() {
    for (std::size_t i = 1; controls_.has("mRegs(" + std::to_string(i) + ")"); ++i)
        controls_.remove("mRegs(" + std::to_string(i) + ")");
    for (std::size_t i = 1; i <= usedPatterns_.count(); ++i) {
        Control entry;
        entry.name = "mRegs(" + std::to_string(i) + ")";
        entry.container = "mRegHis";
        entry.text = menuCaption(usedPatterns_.entries()[i - 1]);
        controls_.add(std::move(entry));
    }
}

void MainWindow::addUsedRegexp(const std::u16string& pattern) {
    if (usedPatterns_.add(pattern)) rebuildHistoryMenu();
}

void MainWindow::pickUsedRegexp(std::size_t index) {
    if (index > usedPatterns_.count()) return;
    controls_.setText("inRepFrom", usedPatterns_.pick(index));
}

void MainWindow::clearHistory() {
    usedPatterns_.clear();
    rebuildHistoryMenu();
}

}  // namespace lodestar
