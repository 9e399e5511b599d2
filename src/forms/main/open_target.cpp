#include "forms/main/open_target.h"

#include "files/paths.h"

namespace lodestar {

OpenTarget openTargetOf(const std::u16string& text) {
    OpenTarget target;
    target.file = fileExists(text);
    if (target.file) return target;
    const std::size_t slash = text.rfind(u'/');
    if (slash != std::u16string::npos && text.compare(slash + 1, 2, u"*.") == 0) {
        target.pattern = text.substr(slash + 1);
        target.folder = text.substr(0, slash + 1);
    } else if (folderExists(text)) {
        target.folder = text;
    }
    if (!target.folder.empty() && !folderExists(target.folder)) target.folder.clear();
    return target;
}

}  // namespace lodestar
