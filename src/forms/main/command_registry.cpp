#include "forms/main/command_registry.h"

namespace lodestar {

CommandRegistry::CommandRegistry(ControlModel& controls) : controls_(controls) {
    controls_.onChange([this](const Control& c) { keepTwinsInStep(c); });
}

void CommandRegistry::add(WindowCommand command) {
    commands_.push_back(std::move(command));
}

const WindowCommand* CommandRegistry::byControl(std::string_view control) const {
    if (control.empty()) return nullptr;
    for (const WindowCommand& c : commands_)
        if (c.button == control || c.menu == control) return &c;
    return nullptr;
}

const WindowCommand* CommandRegistry::byId(const std::string& id) const {
    for (const WindowCommand& c : commands_)
        if (c.id == id) return &c;
    return nullptr;
}

void CommandRegistry::setEnabled(const std::string& id, bool on) {
    const WindowCommand* c = byId(id);
    if (!c) return;
    controls_.setEnabled(c->button.empty() ? c->menu : c->button, on);  // the twin follows
}

bool CommandRegistry::enabled(const std::string& id) const {
    const WindowCommand* c = byId(id);
    return c && controls_[c->button.empty() ? c->menu : c->button].enabled;
}

std::u16string CommandRegistry::shortcut(const std::string& id) const {
    const WindowCommand* c = byId(id);
    return c && !c->menu.empty() ? controls_[c->menu].shortcut : std::u16string();
}

void CommandRegistry::keepTwinsInStep(const Control& changed) {
    const WindowCommand* c = byControl(changed.name);
    if (!c || c->button.empty() || c->menu.empty()) return;
    const std::string& twin = changed.name == c->button ? c->menu : c->button;
    if (controls_[twin].enabled != changed.enabled) controls_.setEnabled(twin, changed.enabled);
}

void CommandRegistry::standDown(bool on, const std::vector<ControlId>& alsoControls) {
    if (!on) {
        for (const auto& [name, enabled] : enabledBeforeRun_) controls_.setEnabled(name, enabled);
        enabledBeforeRun_.clear();
        return;
    }
    enabledBeforeRun_.clear();
    std::vector<std::string> names;
    for (const ControlId id : alsoControls) names.push_back(id.str());
    for (const WindowCommand& c : commands_)
        if (c.standsDownDuringRun) names.push_back(c.button.empty() ? c.menu : c.button);
    for (const std::string& name : names) {
        enabledBeforeRun_.emplace_back(name, controls_[name].enabled);
        controls_.setEnabled(name, false);
    }
}

}  // namespace lodestar
