// Walking a tree folder by folder, depth first, each folder's entries in name order.
#include "files/folder_tree.h"

#include <unistd.h>

#include <algorithm>

#include "core/text.h"
#include "files/folder_listing.h"
#include "files/path_glob.h"
#include "files/wildcard.h"

namespace lodestar {
namespace {

class Walk {
  public:
    Walk(std::u16string_view patternList, const TreeRules& rules, TreeListing& out)
        : patterns_(patternList), rules_(rules), out_(out) {}

    // `relative` is empty or ends in "/"; `entries` are the folder's, already read.
    void folder(const std::u16string& root, const std::u16string& relative, FolderEntries entries) {
        read_ += entries.files.size() + entries.folders.size();
        std::sort(entries.files.begin(), entries.files.end(), fileNameLess);
        for (const std::u16string& name : entries.files) {
            const std::u16string path = relative + name;
            if (matchesPatternList(name, patterns_) &&
                !excludedByGlobs(rules_.exclude, path, false))
                out_.files.push_back(root + path);
        }
        if (!rules_.subfolders) return;
        if (rules_.progress && !rules_.progress(out_.files.size())) stopped_ = true;
        std::sort(entries.folders.begin(), entries.folders.end(), fileNameLess);
        for (const std::u16string& name : entries.folders) {
            const std::u16string path = relative + name;
            if (relative.empty() && name == backupName()) continue;
            if (excludedByGlobs(rules_.exclude, path, true)) continue;
            if (stopped_ || (rules_.limit != 0 && read_ >= rules_.limit)) {
                out_.complete = false;
                return;
            }
            const std::u16string full = root + path + u'/';
            if (::access(toUtf8(full + std::u16string(kRunJournalName)).c_str(), F_OK) == 0) {
                out_.notes.push_back(u"Passed the folder " + full +
                                     u": it is the backup folder of another run.");
                continue;
            }
            FolderEntries inner;
            try {
                inner = readFolderEntries(full);
            } catch (const Error& error) {
                out_.notes.push_back(u"Passed a folder that cannot be read: " +
                                     fromUtf8(error.what()));
                continue;
            }
            folder(root, path + u'/', std::move(inner));
        }
    }

  private:
    std::u16string backupName() const {
        return rules_.backupFolderName.empty() ? u"bak" : rules_.backupFolderName;
    }

    std::u16string_view patterns_;
    const TreeRules& rules_;
    TreeListing& out_;
    std::size_t read_ = 0;
    bool stopped_ = false;
};

}  // namespace

TreeListing listTree(const std::u16string& folder, std::u16string_view patternList,
                     const TreeRules& rules) {
    const std::u16string root = folder.ends_with(u'/') ? folder : folder + u'/';
    TreeListing listing;
    Walk(patternList, rules, listing).folder(root, u"", readFolderEntries(root));
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
