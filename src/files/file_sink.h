// What the loops over the files of a folder report: one outcome per file (the cells of its row
// in the file table), status texts while they work, and the closing log line or error entry.
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

// Why a ticked file was left as it was; each front end words it (the table's status cell, the
// terminal's line).
enum class FileSkip {
    None,
    Binary,          // it holds NUL bytes: not text
    CannotHoldText,  // its encoding cannot hold the new text; the file is unchanged
    NotAFile,        // it is a FIFO, a device or a socket now (swapped in since the listing)
};

// The outcome of one file, as the two result cells of its row show it.
struct FileOutcome {
    std::size_t row = 0;               // 1-based position in the file list
    std::u16string path;               //
    std::u16string matchesCell;        // "3", "0", "-", "-1"
    std::u16string statusCell;         // " Replaced", " Passed", "Passed", " Batch Replaced.", ""
    std::optional<std::size_t> count;  // matches found, when they were counted
    FileSkip skipped = FileSkip::None;
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
