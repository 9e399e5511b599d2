// A long file table shown a piece at a time: the page gets the template's header as a table of
// its own ("infoHead") and an element "infoList" that holds the rows in pieces of a hundred; it
// asks for the rows near its viewport, so a tree of 100,000 files renders only what is seen. The
// rows are built when asked for, from the table's cells as they are then, so every piece shows
// the latest counts, statuses, ticks and colours.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "forms/model/piece_document.h"

namespace lodestar {

// Tables of more rows than this come in pieces; shorter ones are written whole as always.
inline constexpr std::size_t kPiecedTableRows = 2000;

class FileTablePieces : public PieceDocument {
  public:
    static constexpr std::size_t kRowsPerPiece = 100;
    // `rowHtml` gives the "<tr>" of file row 1..rows.
    FileTablePieces(std::size_t rows, std::function<std::u16string(std::size_t row)> rowHtml)
        : rows_(rows), rowHtml_(std::move(rowHtml)) {}
    std::size_t pieceCount() const override;
    PieceOutline outline(std::size_t piece) const override;
    std::u16string html(std::size_t piece) const override;
    std::size_t itemCount() const override { return rows_; }

  private:
    std::size_t rows_;
    std::function<std::u16string(std::size_t row)> rowHtml_;
};

// The body of a pieced table from the table template: its header row as the table "infoHead",
// then the empty element "infoList" the pieces go into.
std::u16string piecedTableBody(const std::u16string& templateHtml);

// One row of a pieced table: "data-k" holds the row number, by which the page finds the row to
// colour or to change a cell of; the tick box shows `ticked`. `cells` are the row's cells as
// inner HTML, the tick box's last.
std::u16string piecedRowHtml(std::size_t row, const std::u16string& colour,
                             const std::u16string* cells, std::size_t cellCount, bool ticked);

}  // namespace lodestar
