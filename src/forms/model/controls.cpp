// The control model: a named map of control states with change notification.
#include "forms/model/controls.h"

#include <algorithm>
#include <stdexcept>

namespace lodestar {

Control makeControl(std::string name, ControlKind kind, std::u16string text, Rect geometry,
                    std::string container) {
    Control c;
    c.name = std::move(name);
    c.kind = kind;
    c.text = std::move(text);
    c.geometry = geometry;
    c.container = std::move(container);
    return c;
}

Control& ControlModel::add(Control control) {
    std::string name = control.name;
    if (!controls_.count(name)) order_.push_back(name);
    Control& stored = controls_[name] = std::move(control);
    changed(stored);
    return stored;
}

void ControlModel::remove(std::string_view name) {
    auto it = controls_.find(name);
    if (it == controls_.end()) return;
    controls_.erase(it);
    order_.erase(std::remove(order_.begin(), order_.end(), name), order_.end());
}

bool ControlModel::has(std::string_view name) const {
    return controls_.find(name) != controls_.end();
}

const Control& ControlModel::operator[](std::string_view name) const {
    auto it = controls_.find(name);
    if (it == controls_.end()) throw std::out_of_range("no control named " + std::string(name));
    return it->second;
}

Control& ControlModel::at(std::string_view name) {
    auto it = controls_.find(name);
    if (it == controls_.end()) throw std::out_of_range("no control named " + std::string(name));
    return it->second;
}

void ControlModel::changed(const Control& control) {
    for (const auto& listener : listeners_) listener(control);
}

namespace {
template <typename T>
bool assign(T& target, const T& value) {
    if (target == value) return false;
    target = value;
    return true;
}
}  // namespace

void ControlModel::setEnabled(std::string_view name, bool on) {
    Control& c = at(name);
    if (assign(c.enabled, on)) changed(c);
}
void ControlModel::setChecked(std::string_view name, bool on) {
    Control& c = at(name);
    if (assign(c.checked, on)) changed(c);
}
void ControlModel::setVisible(std::string_view name, bool on) {
    Control& c = at(name);
    if (assign(c.visible, on)) changed(c);
}
void ControlModel::setStruckThrough(std::string_view name, bool on) {
    Control& c = at(name);
    if (assign(c.struckThrough, on)) changed(c);
}
void ControlModel::setText(std::string_view name, const std::u16string& text) {
    Control& c = at(name);
    if (assign(c.text, text)) changed(c);
}
void ControlModel::setTooltip(std::string_view name, const std::u16string& text) {
    Control& c = at(name);
    if (assign(c.tooltip, text)) changed(c);
}
void ControlModel::setGeometry(std::string_view name, const Rect& geometry) {
    Control& c = at(name);
    if (assign(c.geometry, geometry)) changed(c);
}
void ControlModel::setFont(std::string_view name, const std::u16string& family, double size) {
    Control& c = at(name);
    bool a = assign(c.fontName, family);
    bool b = assign(c.fontSize, size);
    if (a || b) changed(c);
}
void ControlModel::setItems(std::string_view name, const std::vector<std::u16string>& items) {
    Control& c = at(name);
    if (assign(c.items, items)) changed(c);
}
void ControlModel::setSelected(std::string_view name, int index) {
    Control& c = at(name);
    if (assign(c.selected, index)) changed(c);
}
void ControlModel::setTextSelection(std::string_view name, std::size_t start, std::size_t length) {
    Control& c = at(name);
    bool a = assign(c.selStart, start);
    bool b = assign(c.selLength, length);
    if (a || b) changed(c);
}
void ControlModel::setLeft(std::string_view name, double v) {
    Rect r = at(name).geometry;
    r.left = v;
    setGeometry(name, r);
}
void ControlModel::setTop(std::string_view name, double v) {
    Rect r = at(name).geometry;
    r.top = v;
    setGeometry(name, r);
}
void ControlModel::setWidth(std::string_view name, double v) {
    Rect r = at(name).geometry;
    r.width = v;
    setGeometry(name, r);
}
void ControlModel::setHeight(std::string_view name, double v) {
    Rect r = at(name).geometry;
    r.height = v;
    setGeometry(name, r);
}

}  // namespace lodestar
