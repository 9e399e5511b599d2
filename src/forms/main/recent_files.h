// The File menu's "Recent Files" and "Recent Folders": the paths opened last, newest first,
// each once.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "forms/model/control_ids.h"
#include "forms/model/controls.h"

namespace lodestar {

class RecentFiles {
  public:
    static constexpr std::size_t kCapacity = 10;

    // The menu and its numbered entries, from 1 on (Recent Files unless told).
    explicit RecentFiles(ControlId menu = main_ids::mRecent,
                         ControlSeries entries = main_ids::mRecentFile)
        : menu_(menu), entryName_(entries) {}

    // Puts the file first; an entry already there moves up, and the oldest beyond ten goes.
    void add(const std::u16string& path);
    void remove(const std::u16string& path);
    // Empty entries are passed over and the list is cut at ten.
    void assign(const std::vector<std::u16string>& paths);
    const std::vector<std::u16string>& entries() const { return entries_; }
    // The menu entries "mRecent(1)" ... under "mRecent", which is off while the list is empty.
    void showIn(ControlModel& controls) const;

  private:
    ControlId menu_;
    ControlSeries entryName_;
    std::vector<std::u16string> entries_;
};

}  // namespace lodestar
