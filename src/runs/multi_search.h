// The search over the ticked files of a folder: counts the matches of each file, reports
// every file's count to the sink and closes with the log line of the search.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

#include "core/stop_token.h"
#include "files/file_sink.h"
#include "files/text_encoding.h"
#include "search/regexp.h"

namespace lodestar {

struct SearchSummary {
    bool ok = false;        // false when a file or the pattern failed; the loop stopped there
    std::size_t total = 0;  // sum of the counts of the files searched
    std::size_t binarySkipped = 0;
    std::size_t notAFile = 0;  // listed files that were FIFOs or devices when opened
    bool stopped = false;      // a stop request ended the run between two files
};

// The closing log line of a run that left binary files alone: "Binary files skipped: 2.".
std::u16string binarySkippedLine(std::size_t count);
// The closing log line of a run that passed by files that had become FIFOs or devices:
// "Not regular files passed by: 1.".
std::u16string notAFileLine(std::size_t count);

inline constexpr std::u16string_view kSearchErrorMessage =
    u"Error in Search.\r\nPlease examine your regular expression or file.";

// For every listed file in order: a ticked file is read whole and its matches counted (at most
// one when the expression's global switch is off), an unticked one gets no count. Then logs "Search
// " + searchPattern + ", " + total + " items found in " + N + " files." (N counts the ticked
// files, those searched). A binary file is not searched (unless `reading` takes it as text): its
// outcome is FileResult::Binary, and the log ends with binarySkippedLine. A listed file that is no
// longer a regular file (a FIFO or a device swapped in) is never waited on: FileResult::NotAFile,
// and notAFileLine. Stops at the first file that cannot be read or searched with
// kSearchErrorMessage and its cause. A requested `stop` ends the run before the next file,
// silently: every file reported is fully searched.
SearchSummary SearchAllFiles(const RegExp& expr, std::u16string_view searchPattern,
                             const std::vector<FileItem>& files, FileSink& sink,
                             const TextReading& reading = {}, const StopToken* stop = nullptr);

// The files of a search handed over as they are found: appends the next ones to `files` (maybe
// none) and answers false once there are no more. Called on one thread at a time, not always
// the caller's (see runInOrderAsFound).
using FindFiles = std::function<bool(std::vector<FileItem>& files)>;

// SearchAllFiles over files found while the search goes, as a walk of a tree finds them: the
// first files are searched while the rest are still listed. The same outcomes and log lines as
// SearchAllFiles over the whole list.
SearchSummary SearchFoundFiles(const RegExp& expr, std::u16string_view searchPattern,
                               const FindFiles& find, FileSink& sink,
                               const TextReading& reading = {}, const StopToken* stop = nullptr);

}  // namespace lodestar
