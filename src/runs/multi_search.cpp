// Counting the matches of each ticked file of a folder.
#include "runs/multi_search.h"

#include <algorithm>

#include "core/ordered_work.h"
#include "core/text.h"
#include "files/open_for_reading.h"
#include "runs/block_count.h"
#include "runs/worker_tools.h"

namespace lodestar {

std::u16string binarySkippedLine(std::size_t count) {
    return u"Binary files skipped: " + decimal(static_cast<long long>(count)) + u".";
}

std::u16string notAFileLine(std::size_t count) {
    return u"Not regular files passed by: " + decimal(static_cast<long long>(count)) + u".";
}

SearchSummary SearchFoundFiles(const RegExp& expr, std::u16string_view searchPattern,
                               const FindFiles& find, FileSink& sink, const TextReading& reading,
                               const StopToken* stop) {
    SearchSummary summary;
    const unsigned threads = workerThreads();
    const std::optional<BytePrefilter> filter = prefilterFor(expr);
    const auto tools = makeWorkerTools(threads, expr, reading);
    struct Found {
        std::optional<std::size_t> count;
        bool binary = false;
        bool notAFile = false;
    };
    const std::shared_ptr<const ByteMatcher> matcher =
        ByteMatcher::forPattern(expr.pattern(), expr.ignoreCase(), expr.multiline());
    const auto search = [&](unsigned worker, std::size_t, const FileItem& file) -> Found {
        if (!file.ticked) return {};
        WorkerTools& own = *tools[worker];
        // A large file whose matches are plain literals is counted a block at a time; holding no
        // buffer of its size, it needs no turn among the threads' large files.
        if (const auto size = own.reader.openAhead(file.path);
            matcher && size && *size >= kBlockCountFrom) {
            try {
                if (const auto counted = countInBlocks(file.path, *matcher, expr.global(), reading))
                    return counted->binary ? Found{std::nullopt, true} : Found{counted->count};
            } catch (const NotAFileError&) {
                return {std::nullopt, false, true};
            }
        }
        const LargeFileTurn turn(file.path, own.reader);
        // The bytes first: a file without the pattern's literal, or whose bytes can be searched
        // as they are, is counted without being decoded.
        std::string_view bytes;
        try {
            bytes = own.reader.readBytes(file.path);
        } catch (const NotAFileError&) {
            return {std::nullopt, false, true};
        }
        if (own.reader.heldBinary() && !reading.binaryAsText) return {std::nullopt, true};
        // Without any of the pattern's literals there is no match, whatever the bytes decode
        // as: most files of a search are passed by on this one look.
        if (filter && own.reader.heldAsciiExact() && !filter->mayMatch(bytes)) return {0};
        const ByteText kind = own.reader.heldKind();
        if (matcher && matcher->fits(kind))
            if (const auto count = matcher->count(bytes, expr.global(), kind)) return {*count};
        return {own.expr.count(own.reader.decodeHeld())};
    };
    std::size_t ticked = 0;
    std::u16string status;
    const auto report = [&](std::size_t i, FileItem& file, Found& found) {
        if (file.ticked) {
            ++ticked;
            status.assign(u"Searching ").append(file.path).append(u" ...");
            sink.showStatus(status);
        }
        FileOutcome outcome{i + 1, std::move(file.path), FileResult::Counted, std::nullopt,
                            FileRun::Search};
        if (found.notAFile) {
            outcome.result = FileResult::NotAFile;
            ++summary.notAFile;
        } else if (found.binary) {
            outcome.result = FileResult::Binary;
            ++summary.binarySkipped;
        } else if (found.count) {
            summary.total += *found.count;
            outcome.count = found.count;
        }
        sink.fileDone(outcome);
        return true;
    };
    // Whether the run ended before the last file: a stop.
    std::size_t found = 0;
    bool allFound = false;
    const FindFiles counted = [&](std::vector<FileItem>& files) {
        const std::size_t before = files.size();
        const bool more = find(files);
        found += files.size() - before;
        allFound = !more;
        return more;
    };
    try {
        const std::size_t done = runInOrderAsFound<FileItem, Found>(threads, 16 * threads, counted,
                                                                    search, report, stop);
        if (!allFound || done < found) {
            summary.stopped = true;
            return summary;
        }
    } catch (const Error& error) {
        sink.logError(kSearchErrorMessage, fromUtf8(error.what()));
        return summary;
    }
    sink.logLine(u"Search " + std::u16string(searchPattern) + u", " +
                 decimal(static_cast<long long>(summary.total)) + u" items found in " +
                 decimal(static_cast<long long>(ticked)) + u" files.");
    if (summary.binarySkipped > 0) sink.logLine(binarySkippedLine(summary.binarySkipped));
    if (summary.notAFile > 0) sink.logLine(notAFileLine(summary.notAFile));
    sink.showStatus(u"Done.");
    summary.ok = true;
    return summary;
}

SearchSummary SearchAllFiles(const RegExp& expr, std::u16string_view searchPattern,
                             const std::vector<FileItem>& files, FileSink& sink,
                             const TextReading& reading, const StopToken* stop) {
    std::size_t next = 0;
    const auto find = [&](std::vector<FileItem>& found) {
        // A few thousand at a time, so a long list is not copied whole at once.
        const std::size_t end = std::min(files.size(), next + 4096);
        found.insert(found.end(), files.begin() + static_cast<std::ptrdiff_t>(next),
                     files.begin() + static_cast<std::ptrdiff_t>(end));
        next = end;
        return next < files.size();
    };
    return SearchFoundFiles(expr, searchPattern, find, sink, reading, stop);
}

}  // namespace lodestar
