// Turning a PATH operand into the file list of single-file or folder mode.
#include "cli/target_path.h"

#include "core/error.h"
#include "core/text.h"
#include "files/absolute_path.h"
#include "files/paths.h"

namespace lodestar::cli {

TargetPlace placeOf(const std::string& pathText, const std::string& filter) {
    // A relative path is taken from the current folder; the engines see only absolute ones.
    TargetPlace place;
    place.path = absolutePath(fromUtf8(pathText));
    if (fileExists(place.path)) {
        place.singleFile = true;
        return place;
    }
    const std::u16string& path = place.path;
    place.folder = path;
    place.patterns = fromUtf8(filter);
    const auto slash = path.rfind(u'/');
    const std::u16string last = slash == std::u16string::npos ? path : path.substr(slash + 1);
    if (last.rfind(u"*.", 0) == 0) {
        place.patterns = last;
        place.folder = path.substr(0, slash + 1);
    }
    if (!folderExists(place.folder)) throw Error("Can't find the path\n" + pathText);
    if (place.folder.back() != u'/') place.folder += u'/';
    return place;
}

Target resolveTarget(const std::string& pathText, const std::string& filter,
                     const TreeRules& rules) {
    const TargetPlace place = placeOf(pathText, filter);
    Target target;
    if (place.singleFile) {
        target.singleFile = true;
        target.files.push_back({place.path, true});
        return target;
    }
    target.folder = place.folder;
    TreeListing listing = listTree(place.folder, place.patterns, rules);
    for (std::u16string& file : listing.files) target.files.push_back({std::move(file), true});
    target.notes = std::move(listing.notes);
    return target;
}

}  // namespace lodestar::cli
