// The folder line above the file table.
#include "forms/folder/folder_info.h"

#include "core/markup_escape.h"
#include "core/text.h"

namespace lodestar {

std::u16string folderInfoText(const std::u16string& folder, const std::u16string& type,
                              std::size_t files, std::size_t ticked) {
    const std::u16string count = decimal(static_cast<long long>(files));
    return folder + u"   Type: " + (type == u"*.*" ? std::u16string(u"All files") : type) + u"   " +
           count + (files == 1 ? u" file (" : u" files (") +
           decimal(static_cast<long long>(ticked)) + u" ticked)";
}

std::u16string folderInfoHtml(const std::u16string& text) {
    return u"<div id=\"" + std::u16string(kFolderInfoId) + u"\">" + escapeMarkup(text) + u"</div>";
}

}  // namespace lodestar
