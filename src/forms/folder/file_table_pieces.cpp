// Pieces of a long file table, each a table of its own with the header's fixed columns.
#include "forms/folder/file_table_pieces.h"

#include <algorithm>

#include "core/text.h"
#include "forms/folder/file_table.h"

namespace lodestar {

std::size_t FileTablePieces::pieceCount() const {
    return (rows_ + kRowsPerPiece - 1) / kRowsPerPiece;
}

PieceOutline FileTablePieces::outline(std::size_t piece) const {
    const std::size_t first = piece * kRowsPerPiece + 1;
    return {std::min(kRowsPerPiece, rows_ + 1 - first), 0, first};
}

std::u16string FileTablePieces::html(std::size_t piece) const {
    const PieceOutline o = outline(piece);
    std::u16string html = u"<table cellspacing=0 cellpadding=2>";
    for (std::size_t row = o.first; row < o.first + o.lines; ++row) html += rowHtml_(row);
    return html + u"</table>";
}

std::u16string piecedTableBody(const std::u16string& templateHtml) {
    const std::u16string listId = u"id=\"" + std::u16string(kFileTableId) + u"\"";
    return replacedAll(templateHtml, listId, u"id=\"infoHead\"") + u"</table><ul " + listId +
           u" data-cells=\"" + decimal(static_cast<long long>(kCellsPerRow)) + u"\"></ul>";
}

std::u16string piecedRowHtml(std::size_t row, const std::u16string& colour,
                             const std::u16string* cells, std::size_t cellCount, bool ticked) {
    std::u16string html = u"<tr data-k=\"" + decimal(static_cast<long long>(row)) +
                          u"\" bgcolor=\"" + colour + u"\">";
    for (std::size_t k = 0; k + 1 < cellCount; ++k) html += u"<td>" + cells[k] + u"</td>";
    return html + u"<td><input type=checkbox name=chk" + (ticked ? u" checked" : u"") +
           u"></td></tr>";
}

}  // namespace lodestar
