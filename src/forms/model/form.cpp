// The form base: showing and hiding through the host, and events routed to the form's handlers.
#include "forms/model/form.h"

#include <algorithm>

namespace lodestar {

void Form::show() {
    shown_ = true;
    if (host_) host_->showForm(*this);
}

void Form::hide() {
    shown_ = false;
    if (host_) host_->hideForm(*this);
}

bool Form::accepts(const std::string& control) const {
    return controls_.has(control) && controls_[control].enabled;
}

void Form::click(const std::string& control) {
    if (!accepts(control)) return;
    if (controls_[control].kind == ControlKind::CheckBox)
        controls_.setChecked(control, !controls_[control].checked);
    onClick(control);
}

void Form::typeText(const std::string& control, const std::u16string& text) {
    if (!accepts(control)) return;
    controls_.setText(control, text);
    onTextChanged(control);
}

void Form::select(const std::string& control, int index) {
    if (!accepts(control)) return;
    const int count = static_cast<int>(controls_[control].items.size());
    if (index < -1 || index >= count) return;
    controls_.setSelected(control, index);
    onSelect(control);
}

void Form::selectText(const std::string& control, std::size_t start, std::size_t length) {
    if (!accepts(control)) return;
    const std::size_t size = controls_[control].text.size();
    start = std::min(start, size);
    controls_.setTextSelection(control, start, std::min(length, size - start));
    onTextSelected(control);
}

void Form::enter(const std::string& control) {
    if (accepts(control)) onEnter(control);
}

void Form::focusLost(const std::string& control) {
    if (accepts(control)) onFocusLost(control);
}

void Form::pressEnter(const std::string& focused) {
    const bool known = controls_.has(focused);
    if (known && controls_[focused].kind == ControlKind::Button && focused != name_) {
        click(focused);
        return;
    }
    if (known && controls_[focused].kind == ControlKind::TextBox) {
        enter(focused);
        if (keepsEnter(focused)) return;
    }
    if (!defaultButton_.empty()) click(defaultButton_);
}

void Form::pressEscape() {
    if (!cancelButton_.empty()) click(cancelButton_);
}

}  // namespace lodestar
