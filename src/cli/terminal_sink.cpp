// Terminal lines for the outcomes and log entries of the folder operations.
#include "cli/terminal_sink.h"

#include "core/text.h"

namespace lodestar::cli {

namespace {

// The table's cells carry a leading space ("  Replaced"); the terminal lines do not.
std::string cell(std::u16string_view text) {
    if (!text.empty() && text.front() == u' ') text.remove_prefix(1);
    return toUtf8(text);
}

}  // namespace

std::string statusWord(const FileOutcome& outcome) {
    switch (outcome.skipped) {
        case FileSkip::Binary:
            return "Binary";
        case FileSkip::CannotHoldText:
            return "Not replaced (encoding)";
        case FileSkip::NotAFile:
            return "Not a file";
        case FileSkip::None:
            break;
    }
    return cell(outcome.statusCell);
}

void printMessage(std::ostream& stream, std::u16string_view message) {
    stream << toUtf8(replacedAll(message, u"\r\n", u"\n")) << '\n';
}

void TerminalSink::fileDone(const FileOutcome& outcome) {
    if (outcome.skipped == FileSkip::Binary)
        err_ << displayText(outcome.path) << ": binary file skipped (--binary reads it as text)\n";
    if (outcome.skipped == FileSkip::NotAFile)
        err_ << displayText(outcome.path)
             << ": not a regular file (a FIFO or a device), passed by\n";
    switch (shape_) {
        case FileLineShape::CountAndPath:
            // No count to show.
            if (outcome.skipped == FileSkip::Binary || outcome.skipped == FileSkip::NotAFile) break;
            out_ << cell(outcome.matchesCell) << '\t' << displayText(outcome.path) << '\n';
            break;
        case FileLineShape::MatchesStatusAndPath:
            out_ << cell(outcome.matchesCell) << '\t' << statusWord(outcome) << '\t'
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
