// The window's search bar: the pattern and replacement boxes, the four switches (check boxes
// and their menu entries), the request they make, and the "Used Regexps" menu behind the
// pattern box.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "forms/model/control_ids.h"
#include "forms/model/controls.h"
#include "platform/prompts.h"
#include "search/search_request.h"
#include "settings/used_patterns.h"
#include "settings/window_state.h"

namespace lodestar {

class SearchBar {
  public:
    SearchBar(ControlModel& controls, Prompts& prompts) : controls_(controls), prompts_(prompts) {}

    // The last request read, under the switches as they are ticked now.
    const SearchRequest& request() const { return request_; }
    bool dotAll() const { return dotAll_; }
    const UsedPatterns& usedPatterns() const { return usedPatterns_; }
    // A new start: the dot matches line breaks, and no pattern has been read.
    void start();
    // The request the boxes and the switches make now: the cleaned pattern goes back into the
    // box and into the history. Nothing when the box is empty (the user is told).
    std::optional<SearchRequest> readRequest(bool escapeSupport);
    // A check box or its menu entry was clicked.
    void onSwitch(std::string_view name);
    void pickUsedRegexp(std::size_t index);  // "mRegs(i)"
    void clearHistory();
    // The patterns and switches of the last run, and kept for the next one.
    void recall(const WindowState& state);
    void remember(WindowState& state) const;

  private:
    SearchSwitches tickedSwitches() const;
    void setCheckFromMenu(ControlId box, bool value);
    void addUsedRegexp(const std::u16string& pattern);
    void rebuildHistoryMenu();

    ControlModel& controls_;
    Prompts& prompts_;
    SearchRequest request_;
    bool dotAll_ = false;
    UsedPatterns usedPatterns_;
};

}  // namespace lodestar
