// Prints what a folder operation reports: one tab-separated line per file on standard output,
// log lines after them, error entries on standard error.
#pragma once

#include <ostream>

#include "files/file_sink.h"

namespace lodestar::cli {

enum class FileLineShape {
    CountAndPath,          // find: COUNT<TAB>PATH
    MatchesStatusAndPath,  // replace and run: MATCHES<TAB>STATUS<TAB>PATH
    None,                  // extract: no file lines
};

class TerminalSink : public FileSink {
  public:
    TerminalSink(std::ostream& out, std::ostream& log, std::ostream& err, FileLineShape shape)
        : out_(out), log_(log), err_(err), shape_(shape) {}

    void fileDone(const FileOutcome& outcome) override;
    void logLine(std::u16string_view message) override;
    void logError(std::u16string_view message, std::u16string_view cause) override;

    bool failed() const { return failed_; }

  private:
    std::ostream& out_;
    std::ostream& log_;
    std::ostream& err_;
    FileLineShape shape_;
    bool failed_ = false;
};

// The status column of a file line: what became of the file ("Replaced", "Passed"), or why it
// was left alone ("Binary", "Not replaced (encoding)").
std::string statusWord(const FileOutcome& outcome);

// Writes a message of the program (lines joined by CR LF) as terminal lines.
void printMessage(std::ostream& stream, std::u16string_view message);

}  // namespace lodestar::cli
