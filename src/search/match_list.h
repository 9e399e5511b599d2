// The match list pane's content: one clickable entry per match value.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lodestar {

// "&" -> "&amp;", "<" -> "&lt;", ">" -> "&gt;", space -> "&nbsp;"; quotes, tabs and line
// breaks are left as they are.
std::u16string htmlEscape(std::u16string_view text);

// For each value k (1-based) "<li onclick=setValue(k)>" and the escaped value, with no closing
// tag and nothing between entries; then "</ol>" and "<input id='idx' value=0 type=hidden>".
// It becomes the inner HTML of the list page's "mlist" element.
std::u16string matchListFragment(const std::vector<std::u16string>& values);

}  // namespace lodestar
