// Wording a skipped file's row for the file table.
#include "forms/model/file_cells.h"

namespace lodestar {

FileCells fileTableCells(const FileOutcome& outcome) {
    switch (outcome.skipped) {
        case FileSkip::Binary:
            return {u"-", u" Binary"};
        case FileSkip::CannotHoldText:
            // The count stays: the matches were found, the file could not take the new text.
            return {outcome.matchesCell, u" Not replaced"};
        case FileSkip::NotAFile:
            return {u"-", u" Not a file"};
        case FileSkip::None:
            break;
    }
    return {outcome.matchesCell, outcome.statusCell};
}

}  // namespace lodestar
