// The File menu's "Recent Files": the files opened last, newest first, each once.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "forms/model/controls.h"

namespace lodestar {

class RecentFiles {
  public:
    static constexpr std::size_t kCapacity = 10;

    // Puts the file first; an entry already there moves up, and the oldest beyond ten goes.
    void add(const std::u16string& path);
    void remove(const std::u16string& path);
    // Empty entries are passed over and the list is cut at ten.
    void assign(const std::vector<std::u16string>& paths);
    const std::vector<std::u16string>& entries() const { return entries_; }
    // The menu entries "mRecent(1)" ... under "mRecent", which is off while the list is empty.
    void showIn(ControlModel& controls) const;

  private:
    std::vector<std::u16string> entries_;
};

}  // namespace lodestar
