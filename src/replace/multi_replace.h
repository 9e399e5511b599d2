// The replace over the ticked files of a folder: each file is optionally counted first, backed
// up into the backup folder, rewritten, and its outcome reported to the sink.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/stop_token.h"
#include "files/file_sink.h"
#include "files/text_encoding.h"
#include "search/regexp.h"

namespace lodestar {

inline constexpr std::u16string_view kReadOnlyQuestion =
    u"Read-only files found in these files,make them replacable?";

// Answers whether read-only files may be made writable. Asked at most once per run, at the
// first read-only file; the answer holds for the rest of the run.
class ReadOnlyQuestion {
  public:
    virtual ~ReadOnlyQuestion() = default;
    virtual bool makeWritable() = 0;
};

struct ReplaceSettings {
    bool countMatches = true;         // off: every ticked writable file is rewritten uncounted
    bool backup = true;               // copy each file into the backup folder before writing it
    std::u16string currentFolder;     // the chosen folder; the backup folder lies under it
    std::u16string backupFolderName;  // empty: "bak"
    TextReading reading{};            // how files are decoded; binary ones skipped or not
};

// The error entry of a file whose encoding cannot hold its new text.
inline constexpr std::u16string_view kCannotHoldMessage =
    u"The new text cannot be saved in the file's encoding; the file is left unchanged.";

struct ReplaceSummary {
    bool ok = false;
    std::size_t replacedFiles = 0;
    std::size_t binarySkipped = 0;
    std::size_t cannotHold = 0;  // files left unchanged: their encoding cannot hold the new text
    bool stopped = false;        // a stop request ended the run between two files
};

// For every listed file in order. Unticked: "-" / "Passed", untouched. Read-only and not made
// writable: "-1" / " Read only". Counting on: a file without matches gets "0" / " Passed" and
// is not touched; one with c matches is backed up, rewritten and gets c / " Replaced".
// Counting off: backed up, rewritten, "-" / " Replaced" (its count is absent). Then logs
// counter + " files replaced in " + N + " files.", or "Files replaced successfully." when
// counting was off and a file was rewritten. Each file is written back in the encoding it was
// read in. A binary file (unless `settings.reading` takes it as text) is not touched and gets
// "-" and FileSkip::Binary; the log then ends with binarySkippedLine. A file whose encoding
// cannot hold its new text is not touched either: its count, FileSkip::CannotHoldText, the
// error entry kCannotHoldMessage with the cause, and the run goes on. Stops at the first failing
// file with "Error in Search." and its cause; files before it keep their new content and backups.
// A requested `stop` ends the run before the next file, silently.
ReplaceSummary ReplaceAllFiles(const RegExp& expr, std::u16string_view replacement,
                               const std::vector<FileItem>& files, const ReplaceSettings& settings,
                               ReadOnlyQuestion& readOnly, FileSink& sink,
                               const StopToken* stop = nullptr);

}  // namespace lodestar
