// The four search switches (check boxes and their menu entries) and the "Used Regexps" menu.
#include "forms/main/main_window.h"

#include <string>

namespace lodestar {

void MainWindow::setCheckFromMenu(const std::string& box, bool value) {
    // Setting a check box runs its own handler when the value changes, as a click would.
    if (controls_[box].checked == value) return;
    controls_.setChecked(box, value);
    onSwitch(box);
}

void MainWindow::onSwitch(const std::string& name) {
    if (name == "chkIgnoreCase") {
        expression.setIgnoreCase(controls_[name].checked);
        controls_.setChecked("mIgnore", expression.ignoreCase());
    } else if (name == "mIgnore") {
        expression.setIgnoreCase(!expression.ignoreCase());
        controls_.setChecked("mIgnore", expression.ignoreCase());
        setCheckFromMenu("chkIgnoreCase", expression.ignoreCase());
    } else if (name == "chkGlobal") {
        expression.setGlobal(controls_[name].checked);
        controls_.setChecked("mGlobal", expression.global());
    } else if (name == "mGlobal") {
        expression.setGlobal(!expression.global());
        controls_.setChecked("mGlobal", expression.global());
        setCheckFromMenu("chkGlobal", expression.global());
    } else if (name == "chkMultiline") {
        dotAll = controls_[name].checked;
        controls_.setChecked("mDot", dotAll);
    } else if (name == "mDot") {
        dotAll = !dotAll;
        controls_.setChecked("mDot", dotAll);
        setCheckFromMenu("chkMultiline", dotAll);
    } else if (name == "chkLine") {
        expression.setMultiline(controls_[name].checked);
        controls_.setChecked("mLine", expression.multiline());
    } else if (name == "mLine") {
        expression.setMultiline(!expression.multiline());
        controls_.setChecked("mLine", expression.multiline());
        setCheckFromMenu("chkLine", expression.multiline());
    }
}

// The menu shows "Clear History", "Blank" and then one entry per recorded pattern, oldest
// first, named "mRegs(1)", "mRegs(2)", ...; each caption doubles "&" so the pattern shows as
// typed, and picking an entry gives back the pattern exactly as recorded.
void MainWindow::rebuildHistoryMenu() {
    for (std::size_t i = 1; controls_.has("mRegs(" + std::to_string(i) + ")"); ++i)
        controls_.remove("mRegs(" + std::to_string(i) + ")");
    for (std::size_t i = 1; i <= usedPatterns.count(); ++i) {
        Control entry;
        entry.name = "mRegs(" + std::to_string(i) + ")";
        entry.container = "mRegHis";
        entry.text = menuCaption(usedPatterns.entries()[i - 1]);
        controls_.add(std::move(entry));
    }
}

void MainWindow::addUsedRegexp(const std::u16string& pattern) {
    if (usedPatterns.add(pattern)) rebuildHistoryMenu();
}

void MainWindow::pickUsedRegexp(std::size_t index) {
    if (index > usedPatterns.count()) return;
    controls_.setText("inRepFrom", usedPatterns.pick(index));
}

void MainWindow::clearHistory() {
    usedPatterns.clear();
    rebuildHistoryMenu();
}

}  // namespace lodestar
