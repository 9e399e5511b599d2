// Printed names relative to the PATH operand.
#include "cli/shown_path.h"

#include "core/text.h"
#include "files/absolute_path.h"
#include "files/paths.h"

namespace lodestar::cli {

std::function<std::string(const std::u16string&)> shownPaths(const std::string& operand,
                                                             const Target& target) {
    if (target.singleFile) {
        const std::string name = displayText(fromUtf8(operand));
        return [name](const std::u16string&) { return name; };
    }
    // A folder as typed, or the folder of "folder/*.ext".
    std::string prefix = operand;
    if (!folderExists(absolutePath(fromUtf8(operand)))) prefix.resize(operand.rfind('/') + 1);
    if (!prefix.empty() && prefix.back() != '/') prefix += '/';
    const std::u16string folder = target.folder;
    return [prefix = displayText(fromUtf8(prefix)), folder](const std::u16string& path) {
        if (path.compare(0, folder.size(), folder) != 0) return displayText(path);
        return prefix + displayText(std::u16string_view(path).substr(folder.size()));
    };
}

}  // namespace lodestar::cli
