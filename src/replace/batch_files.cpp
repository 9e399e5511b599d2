// Applying a command file to every file of a folder.
#include "replace/batch_files.h"

#include "core/text.h"
#include "files/folder_listing.h"
#include "files/text_file.h"

namespace lodestar {

bool BatchAllFiles(const std::vector<Command>& commands, RegExp& expr,
                   const std::vector<FileItem>& files, FileSink& sink, const StopToken* stop) {
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (stop && stop->requested()) return false;
        const std::u16string& path = files[i].path;
        try {
            if (isReadOnly(path))
                throw fileFailure("Cannot write the file", path, "it is read-only");
            sink.showStatus(u"Replacing " + path + u" ...");
            WriteTextFile(path, ApplyCommands(commands, LoadFileText(path), expr));
        } catch (const Error& error) {
            sink.logError(kBatchErrorMessage, fromUtf8(error.what()));
            return false;
        }
        sink.fileDone({i + 1, path, u" -", u" Batch Replaced.", std::nullopt});
    }
    sink.logLine(decimal(static_cast<long long>(files.size())) +
                 u" files batch replaced successfully.");
    sink.showStatus(u"Done.");
    return true;
}

}  // namespace lodestar
