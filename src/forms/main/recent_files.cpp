// The Recent Files and Recent Folders lists and their menu entries "mRecent(1)" ....
#include "forms/main/recent_files.h"

#include <algorithm>

#include "core/text.h"
#include "files/paths.h"
#include "forms/model/control_ids.h"
#include "settings/used_patterns.h"

namespace lodestar {

void RecentFiles::add(const std::u16string& path) {
    remove(path);
    entries_.insert(entries_.begin(), path);
    if (entries_.size() > kCapacity) entries_.resize(kCapacity);
}

void RecentFiles::remove(const std::u16string& path) {
    std::erase(entries_, path);
}

void RecentFiles::assign(const std::vector<std::u16string>& paths) {
    entries_.clear();
    for (auto it = paths.rbegin(); it != paths.rend(); ++it)
        if (!it->empty()) add(*it);
}

void RecentFiles::showIn(ControlModel& controls) const {
    for (std::size_t i = 1; controls.has(entryName_(i)); ++i) controls.remove(entryName_(i));
    const auto& entries = entries_;
    for (std::size_t i = 1; i <= entries.size(); ++i) {
        Control entry;
        entry.name = entryName_(i);
        entry.kind = ControlKind::Menu;
        entry.container = menu_.str();
        // "&1" ... "&9", "1&0": a digit picks the entry from the keyboard.
        const std::u16string number = fromUtf8(std::to_string(i));
        entry.text = (i < 10 ? u"&" + number : u"1&0") + u"  " +
                     menuCaption(fromUtf8(displayText(entries[i - 1])));
        entry.tooltip = entries[i - 1];
        controls.add(std::move(entry));
    }
    controls.setEnabled(menu_, !entries.empty());
}

}  // namespace lodestar
