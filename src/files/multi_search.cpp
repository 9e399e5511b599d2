// Counting the matches of each ticked file of a folder.
#include "files/multi_search.h"

#include "core/text.h"
#include "files/reusable_reader.h"

namespace lodestar {

SearchSummary SearchAllFiles(const RegExp& expr, std::u16string_view searchPattern,
                             const std::vector<FileItem>& files, FileSink& sink,
                             const StopToken* stop) {
    SearchSummary summary;
    ReusableTextReader reader;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (stop && stop->requested()) {
            summary.stopped = true;
            return summary;
        }
        const FileItem& file = files[i];
        FileOutcome outcome{i + 1, file.path, u"-", u"", std::nullopt};
        if (file.ticked) {
            sink.showStatus(u"Searching " + file.path + u" ...");
            try {
                const std::size_t count = expr.count(reader.read(file.path));
                summary.total += count;
                outcome.matchesCell = decimal(static_cast<long long>(count));
                outcome.count = count;
            } catch (const Error& error) {
                sink.logError(kSearchErrorMessage, fromUtf8(error.what()));
                return summary;
            }
        }
        sink.fileDone(outcome);
    }
    sink.logLine(u"Search " + std::u16string(searchPattern) + u", " +
                 decimal(static_cast<long long>(summary.total)) + u" items found in " +
                 decimal(static_cast<long long>(files.size())) + u" files.");
    sink.showStatus(u"Done.");
    summary.ok = true;
    return summary;
}

}  // namespace lodestar
