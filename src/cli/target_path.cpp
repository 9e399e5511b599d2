// Turning a PATH operand into the file list of single-file or folder mode.
#include "cli/target_path.h"

#include "core/error.h"
#include "core/text.h"
#include "files/absolute_path.h"
#include "files/paths.h"

namespace lodestar::cli {

Target resolveTarget(const std::string& pathText, const std::string& filter,
                     const TreeRules& rules) {
    // A relative path is taken from the current folder; the engines see only absolute ones.
    const std::u16string path = absolutePath(fromUtf8(pathText));
    Target target;
    if (fileExists(path)) {
        target.singleFile = true;
        target.files.push_back({path, true});
        return target;
    }
    std::u16string folder = path;
    std::u16string patterns = fromUtf8(filter);
    const auto slash = path.rfind(u'/');
    const std::u16string last = slash == std::u16string::npos ? path : path.substr(slash + 1);
    if (last.rfind(u"*.", 0) == 0) {
        patterns = last;
        folder = path.substr(0, slash + 1);
    }
    if (!folderExists(folder)) throw Error("Can't find the path\n" + pathText);
    if (folder.back() != u'/') folder += u'/';
    target.folder = folder;
    TreeListing listing = listTree(folder, patterns, rules);
    for (std::u16string& file : listing.files) target.files.push_back({std::move(file), true});
    target.notes = std::move(listing.notes);
    return target;
}

}  // namespace lodestar::cli
