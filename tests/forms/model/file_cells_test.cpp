// The file table's cells for each outcome of a folder loop.
#include "forms/model/file_cells.h"

#include <gtest/gtest.h>

namespace lodestar {
namespace {

TEST(FileCells, EachOutcomeIsWordedForItsRun) {
    const struct {
        FileResult result;
        std::optional<std::size_t> count;
        FileRun run;
        std::u16string_view matches, status;
    } rows[] = {
        {FileResult::Written, 3u, FileRun::Replace, u"3", u" Replaced"},
        {FileResult::Binary, std::nullopt, FileRun::Search, u"-", u" Binary"},
        {FileResult::CannotHoldText, 2u, FileRun::Replace, u"2", u" Not replaced"},
        {FileResult::Unchanged, std::nullopt, FileRun::Batch, u" -", u" Batch Replaced."},
        {FileResult::ReadOnly, std::nullopt, FileRun::Batch, u"-1", u" Read only"},
        {FileResult::Unchanged, 0u, FileRun::Replace, u"0", u" Passed"},
    };
    for (const auto& row : rows) {
        FileOutcome outcome;
        outcome.result = row.result;
        outcome.count = row.count;
        outcome.run = row.run;
        const FileCells cells = fileTableCells(outcome);
        EXPECT_EQ(cells.matches, row.matches);
        EXPECT_EQ(cells.status, row.status);
    }
}

}  // namespace
}  // namespace lodestar
