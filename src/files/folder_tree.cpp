// Walking a tree folder by folder, depth first, each folder's entries in name order.
#include "files/folder_tree.h"

#include <unistd.h>

#include <algorithm>

#include "core/text.h"
#include "files/folder_listing.h"
#include "files/path_glob.h"
#include "files/wildcard.h"

namespace lodestar {

TreeWalk::TreeWalk(const std::u16string& folder, std::u16string_view patternList, TreeRules rules)
    : root_(folder.ends_with(u'/') ? folder : folder + u'/'),
      patterns_(patternList),
      rules_(std::move(rules)),
      first_(readFolderEntries(root_)) {}

std::u16string TreeWalk::backupName() const {
    return rules_.backupFolderName.empty() ? u"bak" : rules_.backupFolderName;
}

void TreeWalk::give(const std::u16string& relative, FolderEntries& entries,
                    std::vector<std::u16string>& files) {
    read_ += entries.files.size() + entries.folders.size();
    std::sort(entries.files.begin(), entries.files.end(), fileNameLess);
    for (const std::u16string& name : entries.files) {
        if (!matchesPatternList(name, patterns_)) continue;
        // The full path in one go: a tree of many small files makes the walk's allocations
        // count.
        std::u16string full;
        full.reserve(root_.size() + relative.size() + name.size());
        full.append(root_).append(relative).append(name);
        if (!rules_.exclude.empty() &&
            excludedByGlobs(rules_.exclude, std::u16string_view(full).substr(root_.size()), false))
            continue;
        files.push_back(std::move(full));
    }
    if (!rules_.subfolders) return;
    std::sort(entries.folders.begin(), entries.folders.end(), fileNameLess);
    open_.push_back({relative, std::move(entries.folders)});
}

bool TreeWalk::next(std::vector<std::u16string>& files, std::vector<std::u16string>& notes) {
    if (first_) {
        FolderEntries entries = std::move(*first_);
        first_.reset();
        give(u"", entries, files);
        return true;
    }
    // Depth first: the subfolders of the folder given last come before its later siblings.
    while (!open_.empty()) {
        Open& top = open_.back();
        if (top.next == top.folders.size()) {
            open_.pop_back();
            continue;
        }
        const std::u16string name = std::move(top.folders[top.next++]);
        const std::u16string path = top.relative + name;
        if (top.relative.empty() && name == backupName()) continue;
        if (excludedByGlobs(rules_.exclude, path, true)) continue;
        if (rules_.limit != 0 && read_ >= rules_.limit) {
            complete_ = false;
            open_.clear();
            return false;
        }
        const std::u16string full = root_ + path + u'/';
        if (::access(toUtf8(full + std::u16string(kRunJournalName)).c_str(), F_OK) == 0) {
            notes.push_back(u"Passed the folder " + full +
                            u": it is the backup folder of another run.");
            continue;
        }
        FolderEntries inner;
        try {
            inner = readFolderEntries(full);
        } catch (const Error& error) {
            notes.push_back(u"Passed a folder that cannot be read: " + fromUtf8(error.what()));
            continue;
        }
        give(path + u'/', inner, files);
        return true;
    }
    return false;
}

TreeListing listTree(const std::u16string& folder, std::u16string_view patternList,
                     const TreeRules& rules) {
    TreeListing listing;
    TreeWalk walk(folder, patternList, rules);
    while (walk.next(listing.files, listing.notes)) {
        if (rules.progress && !rules.progress(listing.files.size())) {
            listing.complete = false;
            return listing;
        }
    }
    listing.complete = walk.complete();
    return listing;
}

std::u16string relativeToFolder(std::u16string_view folder, std::u16string_view path) {
    std::u16string prefix(folder);
    if (!prefix.empty() && !prefix.ends_with(u'/')) prefix += u'/';
    if (!prefix.empty() && path.starts_with(prefix))
        return std::u16string(path.substr(prefix.size()));
    return std::u16string(path);
}

}  // namespace lodestar
