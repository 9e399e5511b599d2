// Terminal lines for the outcomes and log entries of the folder operations.
#include "cli/terminal_sink.h"

#include "core/text.h"

namespace lodestar::cli {

namespace {

std::string matchesWord(const FileOutcome& outcome) {
    if (outcome.result == FileResult::ReadOnly) return "-1";
    if (outcome.count) return std::to_string(*outcome.count);
    return "-";
}

}  // namespace

std::string statusWord(const FileOutcome& outcome) {
    const bool batch = outcome.run == FileRun::Batch;
    switch (outcome.result) {
        case FileResult::Counted:
            return "";
        case FileResult::Unticked:
            return "Passed";
        case FileResult::SameFile:
            return "Same file, passed";
        case FileResult::OutsideLink:
            return "Link to a file not chosen, passed";
        case FileResult::ReadOnly:
            return "Read only";
        case FileResult::Binary:
            return "Binary";
        case FileResult::NotAFile:
            return "Not a file";
        case FileResult::CannotHoldText:
            return "Not replaced (encoding)";
        case FileResult::Unchanged:
            return batch ? "Batch Replaced." : "Passed";
        case FileResult::Written:
            return batch ? "Batch Replaced." : "Replaced";
        case FileResult::ChangedElsewhere:
            return "Changed by another program";
        case FileResult::Previewed:
            return "To be replaced";
    }
    return "";
}

void printMessage(std::ostream& stream, std::u16string_view message) {
    stream << toUtf8(replacedAll(message, u"\r\n", u"\n")) << '\n';
}

void TerminalSink::fileDone(const FileOutcome& outcome) {
    if (outcome.result == FileResult::Binary)
        err_ << displayText(outcome.path) << ": binary file skipped (--binary reads it as text)\n";
    if (outcome.result == FileResult::NotAFile)
        err_ << displayText(outcome.path)
             << ": not a regular file (a FIFO or a device), passed by\n";
    switch (shape_) {
        case FileLineShape::CountAndPath:
            // No count to show.
            if (outcome.result == FileResult::Binary || outcome.result == FileResult::NotAFile)
                break;
            out_ << matchesWord(outcome) << '\t' << displayText(outcome.path) << '\n';
            break;
        case FileLineShape::MatchesStatusAndPath:
            out_ << matchesWord(outcome) << '\t' << statusWord(outcome) << '\t'
                 << displayText(outcome.path) << '\n';
            break;
        case FileLineShape::None:
            break;
    }
}

void TerminalSink::logLine(std::u16string_view message) {
    printMessage(log_, message);
}

void TerminalSink::logError(std::u16string_view message, std::u16string_view cause) {
    failed_ = true;
    printMessage(err_, message);
    if (!cause.empty()) printMessage(err_, cause);
}

}  // namespace lodestar::cli
