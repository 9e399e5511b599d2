// The extraction run: the values of all matches of the current file, or of the ticked files of
// a folder search, collected in order and written once in the chosen export format.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "export/formats.h"
#include "files/file_sink.h"
#include "files/text_encoding.h"
#include "search/regexp.h"

namespace lodestar {

inline constexpr std::u16string_view kExtractErrorMessage =
    u"Error in extraction.\r\nPlease examine your regular expression or file.";

inline constexpr std::u16string_view kExtractStoppedMessage =
    u"Extraction stopped; nothing was written.";

struct ExtractTarget {
    std::u16string path;  // the export file, named in the log line
    // The whole export content for the items (toText, toHTML or toXML); may throw Error.
    std::function<std::u16string(const std::vector<std::u16string>& items)> format;
    // Writes the content; when empty, PrintTextFile (create or replace, then one CR LF) in
    // UTF-8 (exportFileFormat).
    std::function<void(const std::u16string& path, std::u16string_view content)> write;
    // Told after each file of a folder's files is read: how many of how many.
    std::function<void(std::size_t done, std::size_t total)> progress;
    // When set, takes the place of `format`: the items with the file, line and column of each.
    std::function<std::u16string(const std::vector<std::u16string>& items,
                                 const std::vector<ItemPlace>& places)>
        placedFormat = nullptr;
};

enum class ExtractResult {
    Saved,    // written and logged
    Nothing,  // nothing to extract: one file without a match, a folder search that found nothing
    Failed,   // the error entry was logged; nothing was written
    Stopped,  // the user stopped it before it wrote anything
};

struct ExtractSummary {
    ExtractResult result = ExtractResult::Nothing;
    std::size_t items = 0;
    std::size_t binarySkipped = 0;
    std::size_t notAFile = 0;  // files of a folder run that were FIFOs or devices when opened
};

// One listed file (single-file mode, or a folder search of one file): its matches, whatever its
// tick. Two or more: nothing when `lastSearchTotal` is 0, otherwise the matches of every ticked
// file in list order (no match there still writes the format's frame). Each file is read afresh.
// Then the items are formatted and written and "Extract " + searchPattern + ", " + items + " items
// extracted in " + N + " files and saved in " + path is logged. Of two or more files, binary ones
// (unless `reading` takes them as text) give no items and the log ends with binarySkippedLine;
// a file that is no longer a regular file (a FIFO or a device swapped in) is never waited on: it
// gives no items, is reported as FileResult::NotAFile and the log ends with notAFileLine.
// Any failure (unreadable file, broken pattern, format or write error) logs kExtractErrorMessage
// with its cause and writes nothing. Once `stop` is requested the run ends at its next match or
// file, writes nothing and logs kExtractStoppedMessage.
ExtractSummary ExtractAll(const RegExp& expr, std::u16string_view searchPattern,
                          const std::vector<FileItem>& files,
                          std::optional<std::size_t> lastSearchTotal, const ExtractTarget& target,
                          FileSink& sink, const TextReading& reading = {},
                          const StopToken* stop = nullptr);

}  // namespace lodestar
