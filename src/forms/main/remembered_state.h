// What the window takes over from its last run and hands on to the next one: the search bar's
// patterns and switches, Recent Files, the folders last used, the splitters' shares and the
// window's frame, in the state file.
#pragma once

#include <functional>
#include <string>

#include "forms/main/layout.h"
#include "forms/main/open_requests.h"
#include "forms/main/search_bar.h"
#include "forms/scope/scope_host.h"
#include "settings/window_state.h"

namespace lodestar {

class RememberedState {
  public:
    RememberedState(ScopeHost& host, SearchBar& bar, OpenRequests& opening, WindowLayout& layout)
        : host_(host), bar_(bar), opening_(opening), layout_(layout) {}

    // The state file (empty: nothing is remembered).
    void setFile(std::u16string file) { file_ = std::move(file); }
    const WindowState& state() const { return state_; }
    void setWindowFrame(const WindowFrame& frame) { state_.frame = frame; }
    // Where the folder picker is (set by whoever owns the picker).
    void setPickerFolder(std::function<std::u16string()> f) { pickerFolder_ = std::move(f); }
    // Reads the state file and applies it.
    void apply();
    // Writes the state file; a failure is logged and answers false.
    bool save();

  private:
    ScopeHost& host_;
    SearchBar& bar_;
    OpenRequests& opening_;
    WindowLayout& layout_;
    std::u16string file_;
    std::function<std::u16string()> pickerFolder_;
    WindowState state_;
};

}  // namespace lodestar
