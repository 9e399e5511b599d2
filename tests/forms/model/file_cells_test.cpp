// The file table's cells for each outcome of a folder loop.
#include "forms/model/file_cells.h"

#include <gtest/gtest.h>

namespace lodestar {
namespace {

TEST(FileCells, SkippedFilesSayWhyOthersKeepTheLoopCells) {
    const struct {
        FileOutcome outcome;
        std::u16string matches, status;
    } rows[] = {
        {{1, u"a", u"3", u" Replaced", 3u, FileSkip::None}, u"3", u" Replaced"},
        {{2, u"b", u"-", u"", std::nullopt, FileSkip::Binary}, u"-", u" Binary"},
        {{3, u"c", u"2", u"", 2u, FileSkip::CannotHoldText}, u"2", u" Not replaced"},
    };
    for (const auto& row : rows) {
        const FileCells cells = fileTableCells(row.outcome);
        EXPECT_EQ(cells.matches, row.matches);
        EXPECT_EQ(cells.status, row.status);
    }
}

}  // namespace
}  // namespace lodestar
