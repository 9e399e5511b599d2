// What the loops over the files of a folder report: one outcome per file (data the front ends
// word as the cells of its row), status texts while they work, and the closing log line or
// error entry.
// The file table of the window and the command-line tool both consume these same reports.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace lodestar {

// One file of a folder operation: its full path and whether its row is ticked.
struct FileItem {
    std::u16string path;
    bool ticked = true;
};

// Which loop reported a file: the front ends word some results differently for each.
enum class FileRun { Search, Replace, Batch };

// What became of one file; each front end words it (the table's cells, the terminal's line).
enum class FileResult {
    Counted,           // searched: `count` holds its matches (none when it was not ticked)
    Unticked,          // not ticked: left alone
    SameFile,          // another name of a file the run already worked on: passed by
    OutsideLink,       // a link to a file not chosen, not followed: passed by
    ReadOnly,          // read-only and not made writable: left alone
    Binary,            // it holds NUL bytes: not text
    NotAFile,          // it is a FIFO, a device or a socket now (swapped in since the listing)
    CannotHoldText,    // its encoding cannot hold the new text; the file is unchanged
    Unchanged,         // the run leaves its text as it was (or found no match): not written
    Written,           // its new text is in place
    ChangedElsewhere,  // another program changed it between the read and the write: left alone
    Previewed,         // a preview computed its new text; nothing was written
};

// The outcome of one file of a folder loop.
struct FileOutcome {
    std::size_t row = 0;  // 1-based position in the file list
    std::u16string path;
    FileResult result = FileResult::Counted;
    std::optional<std::size_t> count;  // matches found, when they were counted
    FileRun run = FileRun::Search;
};

class FileSink {
  public:
    virtual ~FileSink() = default;
    virtual void fileDone(const FileOutcome& outcome) = 0;
    // A line of the activity log ("* " + message in the window).
    virtual void logLine(std::u16string_view message) = 0;
    // An error entry ("Err:" + message in the window). `message` is the program's own wording
    // (often two lines joined by CR LF); `cause` says what exactly failed, possibly empty.
    virtual void logError(std::u16string_view message, std::u16string_view cause) = 0;
    // The status label, repainted at once in the window.
    virtual void showStatus(std::u16string_view) {}
};

}  // namespace lodestar
