// Wording a file's outcome for its row of the file table.
#include "forms/model/file_cells.h"

#include "core/text.h"

namespace lodestar {

namespace {

// The batch run counts nothing: the rows it worked on show " -".
bool batchWorkedOn(const FileOutcome& outcome) {
    return outcome.run == FileRun::Batch &&
           (outcome.result == FileResult::Unchanged || outcome.result == FileResult::Written ||
            outcome.result == FileResult::ChangedElsewhere ||
            outcome.result == FileResult::Previewed);
}

std::u16string matchesCell(const FileOutcome& outcome) {
    if (outcome.result == FileResult::ReadOnly) return u"-1";
    if (batchWorkedOn(outcome)) return u" -";
    // The count stays when the file could not take the new text: the matches were found.
    if (outcome.count) return decimal(static_cast<long long>(*outcome.count));
    return u"-";
}

std::u16string statusCell(const FileOutcome& outcome) {
    const bool batch = outcome.run == FileRun::Batch;
    switch (outcome.result) {
        case FileResult::Counted:
            return u"";
        case FileResult::Unticked:
            return u"Passed";
        case FileResult::SameFile:
            return u" Same file, passed";
        case FileResult::OutsideLink:
            return u" Link to a file not chosen, passed";
        case FileResult::ReadOnly:
            return u" Read only";
        case FileResult::Binary:
            return u" Binary";
        case FileResult::NotAFile:
            return u" Not a file";
        case FileResult::CannotHoldText:
            return u" Not replaced";
        case FileResult::Unchanged:
            return batch ? u" Batch Replaced." : u" Passed";
        case FileResult::Written:
            return batch ? u" Batch Replaced." : u" Replaced";
        case FileResult::ChangedElsewhere:
            return u" Changed by another program";
        case FileResult::Previewed:
            return u" To be replaced";
    }
    return u"";
}

}  // namespace

FileCells fileTableCells(const FileOutcome& outcome) {
    return {matchesCell(outcome), statusCell(outcome)};
}

}  // namespace lodestar
