// The Recent Files list and its menu entries "mRecent(1)" ... "mRecent(10)".
#include "forms/main/recent_files.h"

#include <algorithm>

#include "core/text.h"
#include "files/paths.h"
#include "forms/main/main_window.h"
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

namespace {
std::string entryName(std::size_t i) {
    return "mRecent(" + std::to_string(i) + ")";
}
}  // namespace

void MainWindow::rebuildRecentMenu() {
    for (std::size_t i = 1; controls_.has(entryName(i)); ++i) controls_.remove(entryName(i));
    const auto& entries = recentFiles_.entries();
    for (std::size_t i = 1; i <= entries.size(); ++i) {
        Control entry;
        entry.name = entryName(i);
        entry.kind = ControlKind::Menu;
        entry.container = "mRecent";
        // "&1" ... "&9", "1&0": a digit picks the entry from the keyboard.
        const std::u16string number = fromUtf8(std::to_string(i));
        entry.text = (i < 10 ? u"&" + number : u"1&0") + u"  " +
                     menuCaption(fromUtf8(displayText(entries[i - 1])));
        entry.tooltip = entries[i - 1];
        controls_.add(std::move(entry));
    }
    controls_.setEnabled("mRecent", !entries.empty());
}

void MainWindow::pickRecentFile(std::size_t index) {
    // A run over a folder's files goes on: opening waits, as the other ways to open do.
    if (running_ || index < 1 || index > recentFiles_.entries().size()) return;
    const std::u16string path = recentFiles_.entries()[index - 1];
    if (!fileExists(path)) {
        recentFiles_.remove(path);
        rebuildRecentMenu();
        services_.prompts.message(
            u"The file " + path + u" no longer exists; it is removed from Recent Files.",
            u"Lodestar");
        return;
    }
    if (path == currentFile() && !multiMode_) return;
    if (!settleUnsaved(u"Your file not saved, save it before opening another file?")) return;
    file_.open(path);
}

}  // namespace lodestar
