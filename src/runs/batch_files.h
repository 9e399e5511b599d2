// The batch run over the files of a folder: the commands of a command file applied to every
// listed file, ticked or not, each written back.
#pragma once

#include <string_view>
#include <vector>

#include "core/stop_token.h"
#include "files/file_sink.h"
#include "files/text_encoding.h"
#include "replace/command_file.h"
#include "runs/multi_replace.h"
#include "search/regexp.h"

namespace lodestar {

inline constexpr std::u16string_view kBatchErrorMessage =
    u"Rep File Error.\r\nPlease check your rep file or rep commands inside.";

// For every listed file in order: read it, apply the commands (ApplyCommands on `expr`), write
// the result back when it changed, and report " -" / " Batch Replaced.". Then logs
// N + " files batch replaced successfully." (N: the files worked on, not those left alone). A
// read-only file, an unreadable one, a text the code page cannot hold or a search text the engine
// rejects stops the run there with kBatchErrorMessage and its cause; files before it stay written.
// With `readOnly` a read-only file is instead handled as the replace handles it (asked once; left
// alone: "-1" / " Read only"). Each file is written back in the encoding it was read in. A binary
// file (unless `reading` takes it as text) is left alone with FileSkip::Binary and the log ends
// with binarySkippedLine; a file whose encoding cannot hold its new text is left unchanged with
// FileSkip::CannotHoldText and the error entry kCannotHoldMessage, and the run goes on but
// answers false. Each real file is changed once (see planVisits); a file another program
// changed between the read and the write is left alone with kChangedElsewhereStatus and the run
// ends with an error entry. A requested `stop` ends the run before the next file, silently, and
// answers false. The caller backs the files up first (BackupAllFiles from `currentFolder` into
// `backupFolder`) and finishes the run's journal afterwards (FinishRunJournal).
//
// The files are read and worked on by workerThreads() threads, their outcomes reported in
// listing order, their new contents made durable in batches and put in place in order (see
// ReplaceAllFiles). A file whose text the commands leave as it was is not written; a backup the
// caller made of it by a link becomes a copy, so that it stays the old file whatever later
// happens to this one.
bool BatchAllFiles(const std::vector<Command>& commands, RegExp& expr,
                   const std::vector<FileItem>& files, FileSink& sink,
                   const TextReading& reading = {}, ReadOnlyQuestion* readOnly = nullptr,
                   const StopToken* stop = nullptr, std::u16string_view backupFolder = {},
                   std::u16string_view currentFolder = {});

struct BatchSettings {
    bool backup = true;               // back up each file the run rewrites
    std::u16string currentFolder;     // the chosen folder; the backup folder lies under it
    std::u16string backupFolderName;  // empty: "bak"
    TextReading reading{};
    // When the last run in the folder did not finish: go on with it instead of refusing.
    bool goOnWithUnfinished = false;
    // Work on the targets of links that lead out of the folder; off: they are passed by.
    bool followLinks = false;
    std::size_t keepSteps = 10;  // the runs of the folder Restore can take back
};

struct BatchSummary {
    bool ok = false;
    bool unfinishedRun = false;  // refused: the last run in the folder did not finish
    bool busy = false;           // refused: another run or restore holds the folder
};

// The whole batch run over a folder, as the window and the command line start it: holds the
// folder's lock for the run (refused with kFolderBusyMessage while another run or restore holds
// it), backs up and names in the journal exactly the files it rewrites, each just before its
// new content is put in place ("Files backed up successfully." once the first are safe), and
// finishes the journal when the run ends; a run that stops on a failure leaves the journal
// unfinished. Files whose text the commands leave as it was are not written and keep their
// time. Otherwise as BatchAllFiles.
BatchSummary BatchFolder(const std::vector<Command>& commands, RegExp& expr,
                         const std::vector<FileItem>& files, const BatchSettings& settings,
                         FileSink& sink, ReadOnlyQuestion* readOnly = nullptr,
                         const StopToken* stop = nullptr);

}  // namespace lodestar
