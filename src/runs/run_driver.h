// One run over the files of a folder, for the replace and the batch run alike: each file is
// read, its text transformed, checked, written back through the commit queue and backed up when
// it is rewritten; the run keeps its journal and reports every file to the sink. Only the text
// transform differs between the two runs. A preview takes the same path without writing.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/stop_token.h"
#include "files/file_sink.h"
#include "files/text_encoding.h"
#include "search/byte_prefilter.h"

namespace lodestar {

class FileOutput;

// What a run does to the text of each file. Every worker thread works with its own copy.
class TextTransform {
  public:
    virtual ~TextTransform() = default;
    virtual std::unique_ptr<TextTransform> copy() const = 0;
    // The run it is, for the wording of its reports and failures.
    virtual FileRun run() const = 0;
    // Whether matches are counted first: a file without any is not transformed.
    virtual bool counts() const { return false; }
    virtual std::size_t count(std::u16string_view) { return 0; }
    // Looks at a file's bytes before counting: a file without the literal has no match.
    virtual std::optional<BytePrefilter> prefilter() const { return std::nullopt; }
    virtual std::u16string apply(std::u16string_view text) = 0;
    // The new text of the file at `path`; nothing when the transform refuses the file as it
    // now is (it is then left alone and reported FileResult::ChangedElsewhere).
    virtual std::optional<std::u16string> applyTo(const std::u16string& /*path*/,
                                                  std::u16string_view text) {
        return apply(text);
    }
};

inline constexpr std::u16string_view kReadOnlyQuestion =
    u"Read-only files found in these files,make them replacable?";

// Answers whether read-only files may be made writable. Asked at most once per run, at the
// first read-only file; the answer holds for the rest of the run.
class ReadOnlyQuestion {
  public:
    virtual ~ReadOnlyQuestion() = default;
    virtual bool makeWritable() = 0;
};

// The heading of a failure to read, back up or write a file in a replace (a pattern failure is
// headed "Error in Search.").
inline constexpr std::u16string_view kFileErrorMessage =
    u"File Error.\r\nPlease examine the file, its folder and the backup folder.";
// The heading of any failure of a batch run.
inline constexpr std::u16string_view kBatchErrorMessage =
    u"Rep File Error.\r\nPlease check your rep file or rep commands inside.";
// Logged (with the number of such files as its cause) at the end of a run that left files alone
// because another program changed them between the read and the write.
inline constexpr std::u16string_view kChangedElsewhereMessage =
    u"Files changed by another program while they were replaced were left as that program "
    u"wrote them.";
// The error entry of a file whose encoding cannot hold its new text.
inline constexpr std::u16string_view kCannotHoldMessage =
    u"The new text cannot be saved in the file's encoding; the file is left unchanged.";

// The cause logged with kCannotHoldMessage when `encoding` cannot hold the file's new text.
std::optional<std::u16string> cannotHoldCause(const std::u16string& path, std::u16string_view text,
                                              TextEncoding encoding);

struct RunSettings {
    bool backup = true;               // back up each file the run rewrites
    std::u16string currentFolder;     // the chosen folder; the backup folder lies under it
    std::u16string backupFolderName;  // empty: "bak"
    TextReading reading{};            // how files are decoded; binary ones skipped or not
    // When the last run in the folder was cut short: go on with it (the files it changed keep
    // the backups of their originals) instead of refusing.
    bool goOnWithUnfinished = false;
    // Work on the targets of links that lead out of the folder; off: they are passed by.
    bool followLinks = false;
    std::size_t keepSteps = 10;    // the runs of the folder Restore can take back
    FileOutput* output = nullptr;  // the system calls that write files; null: the real ones
    // A preview shows read-only files as a run allowed to make them writable would change them.
    bool previewReadOnly = false;
    // A preview hands over each new content encoded; off: the new text alone (`bytes` empty).
    bool previewBytes = true;
};

struct RunSummary {
    bool ok = false;              // finished, no failure, no file left to another program
    bool stopped = false;         // a stop request ended the run between two files
    bool busy = false;            // refused: another run or restore holds the folder
    bool unfinishedRun = false;   // refused: the last run in the folder was cut short
    std::size_t written = 0;      // files whose new text is in place
    std::size_t unchanged = 0;    // files whose text the run left as it was
    std::size_t transformed = 0;  // files whose text went through the transform
    std::size_t binarySkipped = 0;
    std::size_t cannotHold = 0;  // files left unchanged: their encoding cannot hold the new text
    std::size_t changedElsewhere = 0;  // files another program changed while they were worked on
    std::size_t previewed = 0;         // files a preview found a new text for
};

// The run over a folder, as the window and the command line start it. For every listed file in
// order: unticked ones, second names of a file already worked on (see planVisits) and links out
// of the folder that are not followed are passed by; a read-only file asks `readOnly` (once per
// run; without a question the run fails there); a binary file (unless `settings.reading` takes
// it as text) is left alone; with counting a file without matches is not transformed; a text the
// transform leaves as it was is not written, so the file keeps its time; a text the file's
// encoding cannot hold leaves the file unchanged with the error entry kCannotHoldMessage and the
// run goes on. Every other file is written back in the encoding it was read in.
//
// Holds the folder's lock (refused with kFolderBusyMessage while another run or restore holds
// it). With backups, backs up and names in the journal exactly the files it rewrites, each just
// before its new content is put in place, refuses to start when the last run in the folder is
// unfinished (unless `goOnWithUnfinished`), and finishes the journal when the run ends; a run
// that stops on a failure leaves the journal unfinished. The files are read and transformed on
// workerThreads() threads; their outcomes reach the sink in listing order exactly as a
// one-thread run gives them, and their new contents are made durable in batches and put in place
// in order. The first failing file stops the run with its heading and cause; every file before
// it is finished, every file after it untouched. A file another program changed between the read
// and the write is left as that program wrote it, and the run ends with an error entry. A
// requested `stop` ends the run before the next file, silently. Ends with the closing log line.
RunSummary runFolder(const std::vector<FileItem>& files, const TextTransform& transform,
                     const RunSettings& settings, FileSink& sink,
                     ReadOnlyQuestion* readOnly = nullptr, const StopToken* stop = nullptr);

// A file's new content as a run would write it.
struct FilePreview {
    std::size_t row = 0;  // 1-based position in the file list
    std::u16string path;
    std::u16string before;  // the text as read
    std::u16string text;    // the new text
    TextFormat format;      // how it was read and would be written
    std::string bytes;      // the new content, encoded as the run would write it
};

// The same run without touching anything: no file is written, backed up or journaled, no lock
// is taken and no question asked (a read-only file is reported FileResult::ReadOnly, unless
// `settings.previewReadOnly` previews it as any other). Each file
// a run would rewrite is reported FileResult::Previewed and handed, in listing order, to
// `preview`; the others get the outcome the run would give them. No closing log line.
RunSummary previewFolder(const std::vector<FileItem>& files, const TextTransform& transform,
                         const RunSettings& settings, FileSink& sink,
                         const std::function<void(FilePreview)>& preview,
                         const StopToken* stop = nullptr);

}  // namespace lodestar
