// What the folder picker remembers between runs, in its own small file beside the window's
// state ("folder-picker" in the user's state folder), one "name=value" line per item with texts
// escaped as in the window's state file:
//
//     type=5                the file type chosen (0 for the first)
//     otherType=c;h         the user's own type
//     subfolders=1
//     exclude=build/**
//     recentFolder=/home/ann/site/   the folders last chosen, newest first
//
// Lines that cannot be read are passed over; a missing file is the picker as designed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lodestar {

struct PickerState {
    int type = 0;
    std::u16string otherType;
    bool subfolders = false;
    std::u16string exclude;
    std::vector<std::u16string> recentFolders;
    bool operator==(const PickerState&) const = default;
};

// The picker's file in `folder` (ending in "/").
std::u16string pickerStatePath(const std::u16string& folder);

std::string formatPickerState(const PickerState& state);
PickerState parsePickerState(std::string_view bytes);

// A missing or unreadable file gives the designed state.
PickerState loadPickerState(const std::u16string& path);
// Creates the folder when needed and replaces the file whole. Throws Error on failure.
void savePickerState(const std::u16string& path, const PickerState& state);

}  // namespace lodestar
