// Replacing in every ticked file of a folder, one file at a time, stopping at the first failure.
#include "replace/multi_replace.h"

#include <optional>

#include "core/text.h"
#include "files/folder_listing.h"
#include "files/multi_search.h"
#include "files/reusable_reader.h"
#include "files/text_file.h"
#include "replace/backup.h"

namespace lodestar {

namespace {

class Run {
  public:
    Run(const RegExp& expr, std::u16string_view replacement, const ReplaceSettings& settings,
        ReadOnlyQuestion& readOnly, FileSink& sink)
        : expr_(expr),
          replacement_(replacement),
          settings_(settings),
          readOnly_(readOnly),
          sink_(sink) {}

    std::size_t replacedFiles = 0;
    std::size_t binarySkipped = 0;
    std::size_t cannotHold = 0;
    bool rewroteUncounted = false;

    FileOutcome replaceInFile(std::size_t row, const std::u16string& path) {
        FileOutcome outcome{row, path, u"", u"", std::nullopt};
        if (!writable(path)) {
            outcome.matchesCell = u"-1";
            outcome.statusCell = u" Read only";
            return outcome;
        }
        sink_.showStatus(u"Loading " + path + u" ...");
        const std::u16string_view text = reader_.read(path);
        if (reader_.binary() && !settings_.reading.binaryAsText) {
            outcome.matchesCell = u"-";
            outcome.skipped = FileSkip::Binary;
            ++binarySkipped;
            return outcome;
        }
        if (settings_.countMatches) {
            const std::size_t count = expr_.count(text);
            outcome.count = count;
            outcome.matchesCell = decimal(static_cast<long long>(count));
            if (count == 0) {
                outcome.statusCell = u" Passed";
                return outcome;
            }
        } else {
            outcome.matchesCell = u"-";
            rewroteUncounted = true;
        }
        // The new text is built before anything is written, so a pattern failure leaves the
        // file and its backup alone.
        const std::u16string replaced = expr_.replace(text, replacement_);
        const TextFormat format = reader_.format();
        if (const auto character = unholdableCharacter(replaced, format.encoding)) {
            outcome.skipped = FileSkip::CannotHoldText;
            ++cannotHold;
            sink_.logError(kCannotHoldMessage,
                           path + u": " + fromUtf8(cannotHoldMessage(*character, format.encoding)));
            return outcome;
        }
        if (settings_.backup) BackupOneFile(path, backupFolder());
        sink_.showStatus(u"Replacing " + path + u" ...");
        WriteTextFile(path, replaced, format);
        ++replacedFiles;
        outcome.statusCell = u" Replaced";
        return outcome;
    }

    const std::u16string& backupFolder() {
        if (backupFolder_.empty())
            backupFolder_ = backupFolderPath(settings_.currentFolder, settings_.backupFolderName);
        return backupFolder_;
    }

  private:
    bool writable(const std::u16string& path) {
        if (!isReadOnly(path)) return true;
        if (!asked_) {
            allowed_ = readOnly_.makeWritable();
            asked_ = true;
        }
        if (!allowed_) return false;
        clearReadOnly(path);
        return true;
    }

    const RegExp& expr_;
    std::u16string_view replacement_;
    const ReplaceSettings& settings_;
    ReadOnlyQuestion& readOnly_;
    FileSink& sink_;
    ReusableTextReader reader_{settings_.reading};
    std::u16string backupFolder_;
    bool asked_ = false;
    bool allowed_ = false;
};

}  // namespace

ReplaceSummary ReplaceAllFiles(const RegExp& expr, std::u16string_view replacement,
                               const std::vector<FileItem>& files, const ReplaceSettings& settings,
                               ReadOnlyQuestion& readOnly, FileSink& sink, const StopToken* stop) {
    Run run(expr, replacement, settings, readOnly, sink);
    ReplaceSummary summary;
    try {
        // A refused backup folder name stops the run before any file is touched.
        if (settings.backup) run.backupFolder();
        for (std::size_t i = 0; i < files.size(); ++i) {
            if (stop && stop->requested()) {
                summary.stopped = true;
                summary.replacedFiles = run.replacedFiles;
                return summary;
            }
            if (files[i].ticked)
                sink.fileDone(run.replaceInFile(i + 1, files[i].path));
            else
                sink.fileDone({i + 1, files[i].path, u"-", u"Passed", std::nullopt});
        }
    } catch (const Error& error) {
        summary.replacedFiles = run.replacedFiles;
        sink.logError(kSearchErrorMessage, fromUtf8(error.what()));
        return summary;
    }
    summary.ok = true;
    summary.replacedFiles = run.replacedFiles;
    summary.binarySkipped = run.binarySkipped;
    summary.cannotHold = run.cannotHold;
    if (run.rewroteUncounted)
        sink.logLine(u"Files replaced successfully.");
    else
        sink.logLine(decimal(static_cast<long long>(run.replacedFiles)) + u" files replaced in " +
                     decimal(static_cast<long long>(files.size())) + u" files.");
    if (run.binarySkipped > 0) sink.logLine(binarySkippedLine(run.binarySkipped));
    sink.showStatus(u"Done.");
    return summary;
}

}  // namespace lodestar
