// Collecting match values from files and handing them to the export format once.
#include "runs/extraction.h"

#include "core/stop_token.h"
#include "core/text.h"
#include "export/formats.h"
#include "files/open_for_reading.h"
#include "files/text_file.h"
#include "runs/multi_search.h"
#include "runs/reusable_reader.h"
#include "search/match_positions.h"

namespace lodestar {

namespace {

// The values of the file's matches, and with `places` where each one stands.
void appendValues(const RegExp& expr, ReusableTextReader& reader, const std::u16string& path,
                  std::vector<std::u16string>& items, std::vector<ItemPlace>* places,
                  const StopToken* stop, bool skipBinary = false) {
    const std::u16string_view text = reader.read(path);
    if (skipBinary && reader.binary()) return;
    std::vector<MatchSpan> spans;
    expr.forEachMatch(
        text,
        [&](const MatchSpan& span) {
            items.emplace_back(text.substr(span.index, span.length));
            if (places) spans.push_back(span);
        },
        stop);
    if (!places) return;
    for (const TextPosition& at : matchPositions(text, spans))
        places->push_back({path, at.line, at.column});
}

}  // namespace

ExtractSummary ExtractAll(const RegExp& expr, std::u16string_view searchPattern,
                          const std::vector<FileItem>& files,
                          std::optional<std::size_t> lastSearchTotal, const ExtractTarget& target,
                          FileSink& sink, const TextReading& reading, const StopToken* stop) {
    ExtractSummary summary;
    if (files.empty()) return summary;
    std::vector<std::u16string> items;
    std::vector<ItemPlace> placeList;
    std::vector<ItemPlace>* places = target.placedFormat ? &placeList : nullptr;
    ReusableTextReader reader(reading);
    try {
        if (files.size() == 1) {
            appendValues(expr, reader, files.front().path, items, places, stop);
        } else {
            if (lastSearchTotal && *lastSearchTotal == 0) return summary;
            for (std::size_t row = 0; row < files.size(); ++row) {
                const FileItem& file = files[row];
                if (target.progress) target.progress(row, files.size());
                if (stop && stop->requested()) throw SearchStopped("the extraction was stopped");
                if (!file.ticked) continue;
                sink.showStatus(u"Extracting from " + file.path);
                try {
                    appendValues(expr, reader, file.path, items, places, stop,
                                 !reading.binaryAsText);
                } catch (const NotAFileError&) {
                    sink.fileDone(
                        {row + 1, file.path, FileResult::NotAFile, std::nullopt, FileRun::Search});
                    ++summary.notAFile;
                    continue;
                }
                if (reader.binary() && !reading.binaryAsText) ++summary.binarySkipped;
            }
        }
        // One file without a match: nothing to write. A folder search whose ticked files hold
        // no match any more (they changed since the search, or none is ticked) still writes
        // the format's frame, so the file on disk says what the run found.
        if (items.empty() && files.size() == 1) return summary;
        sink.showStatus(u"Saving extraction ... ");
        const std::u16string content =
            places ? target.placedFormat(items, placeList) : target.format(items);
        if (target.write)
            target.write(target.path, content);
        else
            PrintTextFile(target.path, content, exportFileFormat());
    } catch (const SearchStopped&) {
        sink.logLine(std::u16string(kExtractStoppedMessage));
        sink.showStatus(u"Stopped.");
        summary.result = ExtractResult::Stopped;
        return summary;
    } catch (const Error& error) {
        sink.logError(kExtractErrorMessage, fromUtf8(error.what()));
        summary.result = ExtractResult::Failed;
        return summary;
    }
    summary.result = ExtractResult::Saved;
    summary.items = items.size();
    sink.logLine(u"Extract " + std::u16string(searchPattern) + u", " +
                 decimal(static_cast<long long>(items.size())) + u" items extracted in " +
                 decimal(static_cast<long long>(files.size())) + u" files and saved in " +
                 target.path);
    if (summary.binarySkipped > 0) sink.logLine(binarySkippedLine(summary.binarySkipped));
    if (summary.notAFile > 0) sink.logLine(notAFileLine(summary.notAFile));
    sink.showStatus(u"Done.");
    return summary;
}

}  // namespace lodestar
