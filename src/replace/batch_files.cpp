// Applying a command file to every file of a folder.
#include "replace/batch_files.h"

#include <optional>

#include "core/text.h"
#include "files/file_identity.h"
#include "files/folder_listing.h"
#include "files/folder_visits.h"
#include "files/multi_search.h"
#include "files/text_file.h"
#include "replace/multi_replace.h"

namespace lodestar {

namespace {

// Whether a read-only file may be written: asked once per run, as the replace asks.
class ReadOnlyPolicy {
  public:
    explicit ReadOnlyPolicy(ReadOnlyQuestion* question) : question_(question) {}
    bool writable(const std::u16string& path) {
        if (!isReadOnly(path)) return true;
        if (!question_) throw fileFailure("Cannot write the file", path, "it is read-only");
        if (!asked_) {
            allowed_ = question_->makeWritable();
            asked_ = true;
        }
        if (allowed_) clearReadOnly(path);
        return allowed_;
    }

  private:
    ReadOnlyQuestion* question_;
    bool asked_ = false;
    bool allowed_ = false;
};

}  // namespace

bool BatchAllFiles(const std::vector<Command>& commands, RegExp& expr,
                   const std::vector<FileItem>& files, FileSink& sink, const TextReading& reading,
                   ReadOnlyQuestion* readOnly, const StopToken* stop) {
    ReadOnlyPolicy policy(readOnly);
    const std::vector<FileVisit> visits = planVisits(files, false);
    std::size_t changedElsewhere = 0;
    std::size_t binarySkipped = 0;
    std::size_t cannotHold = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (stop && stop->requested()) return false;
        const std::u16string& path = files[i].path;
        FileOutcome outcome{i + 1, path, u" -", u" Batch Replaced.", std::nullopt};
        try {
            if (passedBy(visits[i])) {
                sink.logLine(visitNote(path, visits[i]));
                sink.fileDone({i + 1, path, u"-", std::u16string(kSameFileStatus), std::nullopt});
                continue;
            }
            if (!policy.writable(path)) {
                sink.fileDone({i + 1, path, u"-1", u" Read only", std::nullopt});
                continue;
            }
            if (visits[i].kind == VisitKind::LinkOutside) sink.logLine(visitNote(path, visits[i]));
            sink.showStatus(u"Replacing " + path + u" ...");
            // Taken before the read: any change after it shows at the write.
            const std::optional<FileStamp> stamp = stampOf(path);
            const DecodedText file = loadTextFile(path, reading);
            if (file.binary && !reading.binaryAsText) {
                outcome = {i + 1, path, u"-", u"", std::nullopt, FileSkip::Binary};
                ++binarySkipped;
            } else {
                const std::u16string result = ApplyCommands(commands, file.text, expr);
                const TextEncoding encoding = file.format.encoding;
                if (const auto character = unholdableCharacter(result, encoding)) {
                    outcome = {i + 1, path, u"-", u"", std::nullopt, FileSkip::CannotHoldText};
                    ++cannotHold;
                    sink.logError(kCannotHoldMessage,
                                  path + u": " + fromUtf8(cannotHoldMessage(*character, encoding)));
                } else {
                    WriteTextFile(path, result, file.format, stamp);
                }
            }
        } catch (const FileChangedError&) {
            ++changedElsewhere;
            outcome.statusCell = std::u16string(kChangedElsewhereStatus);
        } catch (const Error& error) {
            sink.logError(kBatchErrorMessage, fromUtf8(error.what()));
            return false;
        }
        sink.fileDone(outcome);
    }
    sink.logLine(decimal(static_cast<long long>(files.size() - binarySkipped - cannotHold)) +
                 u" files batch replaced successfully.");
    if (binarySkipped > 0) sink.logLine(binarySkippedLine(binarySkipped));
    if (changedElsewhere > 0) {
        sink.logError(kChangedElsewhereMessage,
                      decimal(static_cast<long long>(changedElsewhere)) + u" file(s).");
        return false;
    }
    sink.showStatus(u"Done.");
    return cannotHold == 0;
}

}  // namespace lodestar
