// Building the file table's HTML and the model of its cells.
#include "forms/folder/file_table.h"

#include <algorithm>

#include "core/markup_escape.h"
#include "core/text.h"
#include "files/file_ops.h"
#include "files/folder_tree.h"
#include "files/paths.h"
#include "forms/model/html_text.h"

namespace lodestar {

std::u16string rowColour(std::size_t row) {
    return row % 2 == 1 ? u"white" : u"rgb(230,230,230)";
}

namespace {

// The name a row shows: the path relative to the chosen folder when the file lies in one of its
// subfolders, otherwise the file name (also one without a dot: Makefile, README).
std::u16string shownName(std::u16string_view currentFolder, const std::u16string& path) {
    const std::u16string relative = relativeToFolder(currentFolder, path);
    if (relative.size() < path.size() && relative.find(u'/') != std::u16string::npos)
        return relative;
    const std::size_t slash = path.rfind(u'/');
    return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

}  // namespace

FileTable buildFileTable(const std::u16string& templateHtml,
                         const std::vector<std::u16string>& fileList,
                         std::u16string_view currentFolder, const std::vector<std::uint64_t>& sizes,
                         bool rowsAsHtml) {
    FileTable table;
    table.html = templateHtml;
    table.cells.reserve(kCellsPerRow * std::max<std::size_t>(fileList.size(), 1));
    table.cells.assign(kCellsPerRow, u"");
    table.rowColours.reserve(std::max<std::size_t>(fileList.size(), 1));
    table.rowColours.push_back(u"");
    constexpr char16_t kTick[] = u"<input type=checkbox name=chk checked>";
    for (std::size_t i = 1; i < fileList.size(); ++i) {
        const std::u16string& path = fileList[i];
        const std::u16string number = decimal(static_cast<long long>(i));
        const std::uint64_t bytes = i < sizes.size() ? sizes[i] : fileSizeOrZero(path);
        const std::u16string link =
            u"<a href='#" + number + u"'>" + escapeMarkup(shownName(currentFolder, path)) + u"</a>";
        const std::u16string size = SizeInKB(bytes);
        const std::u16string folder = escapeMarkup(ParentFolderOf(path));
        if (rowsAsHtml)
            table.html += u"<tr bgcolor=" + rowColour(i) + u"><td>" + number + u"</td><td>" + link +
                          u"</td></td><td></td><td></td><td>" + size + u"</td><td>" + folder +
                          u"</td><td>" + kTick + u"</td></tr>";
        for (const std::u16string& cell : {number, link, std::u16string(), std::u16string(), size,
                                           folder, std::u16string(kTick)})
            table.cells.push_back(cell);
        table.rowColours.push_back(rowColour(i));
    }
    if (rowsAsHtml) table.html += u"</table>";
    return table;
}

}  // namespace lodestar
