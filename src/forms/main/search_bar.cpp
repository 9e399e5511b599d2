// The search bar: the switches, the request they make with the pattern boxes, and the "Used
// Regexps" menu.
#include "forms/main/search_bar.h"

#include "forms/model/app_title.h"
#include "forms/model/control_ids.h"

#include <string>
#include <utility>

namespace lodestar {

namespace {
// The four switches by check box, with the state file's field for each.
const std::pair<ControlId, std::optional<bool> WindowState::*> kSwitches[] = {
    {main_ids::chkIgnoreCase, &WindowState::ignoreCase},
    {main_ids::chkGlobal, &WindowState::global},
    {main_ids::chkMultiline, &WindowState::dotAll},
    {main_ids::chkLine, &WindowState::multiline},
};
}  // namespace

void SearchBar::start() {
    dotAll_ = true;
    request_ = SearchRequest().withSwitches(tickedSwitches());
}

void SearchBar::recall(const WindowState& s) {
    for (const std::u16string& pattern : s.patterns) usedPatterns_.add(pattern);
    rebuildHistoryMenu();
    for (const auto& [box, field] : kSwitches)
        if (const std::optional<bool>& on = s.*field) setCheckFromMenu(box, *on);
}

void SearchBar::remember(WindowState& s) const {
    s.patterns = usedPatterns_.entries();
    for (const auto& [box, field] : kSwitches) s.*field = controls_[box].checked;
}

void SearchBar::setCheckFromMenu(ControlId box, bool value) {
    // Setting a check box runs its own handler when the value changes, as a click would.
    if (controls_[box].checked == value) return;
    controls_.setChecked(box, value);
    onSwitch(box);
}

// A box and its menu entry show the same tick; the last request follows the engine switches
// at once (the dot switch applies from the next pattern read).
void SearchBar::onSwitch(std::string_view name) {
    static const std::pair<ControlId, ControlId> twins[] = {
        {main_ids::chkIgnoreCase, main_ids::mIgnore},
        {main_ids::chkGlobal, main_ids::mGlobal},
        {main_ids::chkMultiline, main_ids::mDot},
        {main_ids::chkLine, main_ids::mLine}};
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
        if (name == main_ids::chkMultiline) dotAll_ = controls_[box].checked;
        request_ = request_.withSwitches(tickedSwitches());
        return;
    }
}

SearchSwitches SearchBar::tickedSwitches() const {
    return {controls_[main_ids::chkIgnoreCase].checked, controls_[main_ids::chkGlobal].checked,
            dotAll_, controls_[main_ids::chkLine].checked};
}

std::optional<SearchRequest> SearchBar::readRequest(bool escapeSupport) {
    const std::u16string typed = controls_[main_ids::inRepFrom].text;
    if (typed.empty()) {
        prompts_.message(u"Please input what you want to find", kAppTitle);
        return std::nullopt;
    }
    request_ = SearchRequest::build(typed, controls_[main_ids::inRepWith].text, tickedSwitches(),
                                    escapeSupport);
    controls_.setText(main_ids::inRepFrom, request_.cleanedPattern());
    addUsedRegexp(request_.cleanedPattern());
    return request_;
}

// The menu shows "Clear History", "Blank" and then one entry per recorded pattern, oldest
// first, named "mRegs(1)", "mRegs(2)", ...; each caption doubles "&" so the pattern shows as
// typed, and picking an entry gives back the pattern exactly as recorded.
void SearchBar::rebuildHistoryMenu() {
    for (std::size_t i = 1; controls_.has(main_ids::mRegs(i)); ++i)
        controls_.remove(main_ids::mRegs(i));
    for (std::size_t i = 1; i <= usedPatterns_.count(); ++i) {
        Control entry;
        entry.name = main_ids::mRegs(i);
        entry.container = main_ids::mRegHis;
        entry.text = menuCaption(usedPatterns_.entries()[i - 1]);
        controls_.add(std::move(entry));
    }
}

void SearchBar::addUsedRegexp(const std::u16string& pattern) {
    if (usedPatterns_.add(pattern)) rebuildHistoryMenu();
}

void SearchBar::pickUsedRegexp(std::size_t index) {
    if (index > usedPatterns_.count()) return;
    controls_.setText(main_ids::inRepFrom, usedPatterns_.pick(index));
}

void SearchBar::clearHistory() {
    usedPatterns_.clear();
    rebuildHistoryMenu();
}

}  // namespace lodestar
