// The replace over the ticked files of a folder: each file is optionally counted first, backed
// up into the backup folder, rewritten, and its outcome reported to the sink.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/stop_token.h"
#include "files/file_sink.h"
#include "files/text_encoding.h"
#include "search/regexp.h"

namespace lodestar {

class FileOutput;

inline constexpr std::u16string_view kReadOnlyQuestion =
    u"Read-only files found in these files,make them replacable?";

// Answers whether read-only files may be made writable. Asked at most once per run, at the
// first read-only file; the answer holds for the rest of the run.
class ReadOnlyQuestion {
  public:
    virtual ~ReadOnlyQuestion() = default;
    virtual bool makeWritable() = 0;
};

// The heading of a failure to read, back up or write a file (a pattern failure is headed
// "Error in Search.").
inline constexpr std::u16string_view kFileErrorMessage =
    u"File Error.\r\nPlease examine the file, its folder and the backup folder.";
inline constexpr std::u16string_view kChangedElsewhereStatus = u" Changed by another program";
// Logged (with the number of such files as its cause) at the end of a run that left files alone
// because another program changed them between the read and the write.
inline constexpr std::u16string_view kChangedElsewhereMessage =
    u"Files changed by another program while they were replaced were left as that program "
    u"wrote them.";

struct ReplaceSettings {
    bool countMatches = true;         // off: every ticked writable file is rewritten uncounted
    bool backup = true;               // copy each file into the backup folder before writing it
    std::u16string currentFolder;     // the chosen folder; the backup folder lies under it
    std::u16string backupFolderName;  // empty: "bak"
    TextReading reading{};            // how files are decoded; binary ones skipped or not
    // When the last run in the folder was cut short: go on with it (the files it changed keep
    // the backups of their originals) instead of refusing.
    bool goOnWithUnfinished = false;
    FileOutput* output = nullptr;  // the system calls that write files; null: the real ones
    // Work on the targets of links that lead out of the folder; off: they are passed by.
    bool followLinks = false;
    std::size_t keepSteps = 10;  // the runs of the folder Restore can take back
};

// The error entry of a file whose encoding cannot hold its new text.
inline constexpr std::u16string_view kCannotHoldMessage =
    u"The new text cannot be saved in the file's encoding; the file is left unchanged.";

// The cause logged with kCannotHoldMessage when `encoding` cannot hold the file's new text.
std::optional<std::u16string> cannotHoldCause(const std::u16string& path, std::u16string_view text,
                                              TextEncoding encoding);

struct ReplaceSummary {
    bool ok = false;
    std::size_t replacedFiles = 0;
    std::size_t binarySkipped = 0;
    std::size_t cannotHold = 0;  // files left unchanged: their encoding cannot hold the new text
    bool stopped = false;        // a stop request ended the run between two files
    bool unfinishedRun = false;  // refused: the last run in the folder was cut short
    bool busy = false;           // refused: another run or restore holds the folder
    std::size_t changedElsewhere = 0;  // files another program changed while they were replaced
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
// file with "Error in Search." (the pattern) or kFileErrorMessage (the file) and its cause;
// files before it keep their new content and backups. A requested `stop` ends the run before
// the next file, silently.
//
// The files are read, searched and written to temporary files on workerThreads() threads; the
// outcomes reach the sink in listing order exactly as a one-thread run gives them. New contents
// are made durable in batches and then put in place in order; a stop or a failure lets every
// file before it finish, and leaves every file after it untouched.
//
// Each real file is changed once (see planVisits). With backups on the run keeps a journal in
// the backup folder and refuses to start when the last run there is unfinished (unless
// `goOnWithUnfinished`). A file another program changed between the read and the write is left
// as that program wrote it, gets kChangedElsewhereStatus, and the run ends with an error entry.
ReplaceSummary ReplaceAllFiles(const RegExp& expr, std::u16string_view replacement,
                               const std::vector<FileItem>& files, const ReplaceSettings& settings,
                               ReadOnlyQuestion& readOnly, FileSink& sink,
                               const StopToken* stop = nullptr);

}  // namespace lodestar
