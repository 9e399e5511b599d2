// Applying a command file to every file of a folder.
#include "replace/batch_files.h"

#include "core/text.h"
#include "files/folder_listing.h"
#include "files/multi_search.h"
#include "files/text_file.h"
#include "replace/multi_replace.h"

namespace lodestar {

bool BatchAllFiles(const std::vector<Command>& commands, RegExp& expr,
                   const std::vector<FileItem>& files, FileSink& sink, const TextReading& reading,
                   const StopToken* stop) {
    std::size_t binarySkipped = 0;
    std::size_t cannotHold = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (stop && stop->requested()) return false;
        const std::u16string& path = files[i].path;
        FileOutcome outcome{i + 1, path, u" -", u" Batch Replaced.", std::nullopt};
        try {
            if (isReadOnly(path))
                throw fileFailure("Cannot write the file", path, "it is read-only");
            sink.showStatus(u"Replacing " + path + u" ...");
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
                    WriteTextFile(path, result, file.format);
                }
            }
        } catch (const Error& error) {
            sink.logError(kBatchErrorMessage, fromUtf8(error.what()));
            return false;
        }
        sink.fileDone(outcome);
    }
    sink.logLine(decimal(static_cast<long long>(files.size() - binarySkipped - cannotHold)) +
                 u" files batch replaced successfully.");
    if (binarySkipped > 0) sink.logLine(binarySkippedLine(binarySkipped));
    sink.showStatus(u"Done.");
    return cannotHold == 0;
}

}  // namespace lodestar
