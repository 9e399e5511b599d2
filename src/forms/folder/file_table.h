// The file table of a folder: the HTML of its rows after the template's header row, and the
// cells and row colours the window's pane model keeps of it. Cell k (0..6) of file row i
// (1..N) is cell i*7 + k: number, name link, matches, status, size, folder, tick box.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lodestar {

inline constexpr char16_t kFileTableId[] = u"infoList";
inline constexpr std::size_t kCellsPerRow = 7;
inline constexpr std::size_t kMatchesColumn = 2;
inline constexpr std::size_t kStatusColumn = 3;

// "white" for odd rows, "rgb(230,230,230)" for even ones.
std::u16string rowColour(std::size_t row);

struct FileTable {
    std::u16string html;                     // the template, every row, "</table>"
    std::vector<std::u16string> cells;       // inner HTML of every cell, header cells empty
    std::vector<std::u16string> rowColours;  // row 0 is the header (no colour)
};

// Builds the table for files 1..N of `fileList` (position 0 is ignored). A file in a subfolder
// of `currentFolder` is named by its path relative to it ("sub/dir/page.htm"), the others by
// their names. Names and folders are HTML-escaped, so a file name shows as written and runs
// nothing; each link's target is "#" and the row number. Sizes are `sizes` at the same
// positions when given, otherwise those of the files now. Without `rowsAsHtml` only the cells
// and colours are made: a table shown in pieces builds its rows from them.
FileTable buildFileTable(const std::u16string& templateHtml,
                         const std::vector<std::u16string>& fileList,
                         std::u16string_view currentFolder = {},
                         const std::vector<std::uint64_t>& sizes = {}, bool rowsAsHtml = true);

}  // namespace lodestar
