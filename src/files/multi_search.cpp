// Counting the matches of each ticked file of a folder.
#include "files/multi_search.h"

#include "core/text.h"
#include "files/reusable_reader.h"

namespace lodestar {

std::u16string binarySkippedLine(std::size_t count) {
    return u"Binary files skipped: " + decimal(static_cast<long long>(count)) + u".";
}

SearchSummary SearchAllFiles(const RegExp& expr, std::u16string_view searchPattern,
                             const std::vector<FileItem>& files, FileSink& sink,
                             const TextReading& reading, const StopToken* stop) {
    SearchSummary summary;
    ReusableTextReader reader(reading);
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
                const std::u16string_view text = reader.read(file.path);
                if (reader.binary() && !reading.binaryAsText) {
                    outcome.skipped = FileSkip::Binary;
                    ++summary.binarySkipped;
                    sink.fileDone(outcome);
                    continue;
                }
                const std::size_t count = expr.count(text);
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
    if (summary.binarySkipped > 0) sink.logLine(binarySkippedLine(summary.binarySkipped));
    sink.showStatus(u"Done.");
    summary.ok = true;
    return summary;
}

}  // namespace lodestar
